#!/usr/bin/env bash
# Runs a Windows program of the build under wine, the way ctest and the Windows test script run
# them: its own wine prefix, the Qt and mingw-w64 runtime libraries on the DLL search path, Qt's
# offscreen platform with a font folder, and Qt's log on stderr. Wine passes no QT_* variable to
# the program, but passes WINEQT_X as QT_X.
#
#   KESTRAVA_WINEPREFIX  the wine prefix (default ~/.cache/kestrava/wine)
#   KESTRAVA_QT_WINDOWS  the Windows Qt (default ~/.cache/kestrava/qt-6.4.2-x86_64-w64-mingw32)
#   KESTRAVA_WINE_QPA    the Qt platform (default offscreen; windows to show the window)
set -euo pipefail

qt=${KESTRAVA_QT_WINDOWS:-$HOME/.cache/kestrava/qt-6.4.2-x86_64-w64-mingw32}
export WINEPREFIX=${KESTRAVA_WINEPREFIX:-$HOME/.cache/kestrava/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
winpath() { printf 'Z:%s' "${1//\//\\}"; }
export WINEPATH="$(winpath "$qt/bin");$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
platform=${KESTRAVA_WINE_QPA:-offscreen}
if [ "$platform" = offscreen ]; then
    export WINEQT_QPA_PLATFORM=offscreen
    export WINEQT_QPA_FONTDIR=${WINEQT_QPA_FONTDIR:-/usr/share/fonts/truetype/dejavu}
else
    unset WINEQT_QPA_PLATFORM
fi
export WINEQT_FORCE_STDERR_LOGGING=1
exec /usr/lib/wine/wine64 "$@"
