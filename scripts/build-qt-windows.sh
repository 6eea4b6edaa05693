#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (QtCore, QtGui, QtWidgets, QtNetwork) with mingw-w64, from Debian's
# source of exactly the host Qt's version, into a cache folder outside the checkout. A second run
# finds the finished build and costs nothing. Prints the folder on its last line.
#
#   KESTRAVA_CACHE   cache folder (default ~/.cache/kestrava)
#   JOBS             parallel build jobs (default 2)
#
# The source comes through a private apt configuration (its own source list, lists and cache
# folders), so the system's apt sources stay untouched; apt checks the archive's signature and
# this script checks the tarball against the checksum below. Never a prebuilt Qt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

qt_version=6.4.2
qt_debian_version=6.4.2+dfsg-10
qt_orig=qt6-base_6.4.2+dfsg.orig.tar.xz
qt_orig_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
target=x86_64-w64-mingw32

cache=${KESTRAVA_CACHE:-$HOME/.cache/kestrava}
prefix=$cache/qt-$qt_version-$target
jobs=${JOBS:-2}
stamp=$prefix/.kestrava-complete

# The Windows Qt must match the host Qt whose moc, rcc and uic build the program.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ "$host_version" != "$qt_debian_version" ]; then
    echo "build-qt-windows: the host Qt is '${host_version:-not installed}'," \
        "this script builds $qt_debian_version (update qt_debian_version and its checksum)" >&2
    exit 1
fi

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$qt_orig_sha256" ]; then
    echo "$prefix"
    exit 0
fi

./scripts/deps.sh --windows >&2

work=$cache/work
src_dir=$work/qtbase-everywhere-src-$qt_version
build_dir=$work/qtbase-build
mkdir -p "$work"

# --- the source, through a private apt configuration ----------------------------------------
tarball=$work/$qt_orig
if [ ! -f "$tarball" ] || ! echo "$qt_orig_sha256  $tarball" | sha256sum -c --status; then
    apt_dir=$cache/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
    cat >"$apt_dir/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
EOF
    # apt's signature check writes to /dev/null; a plain file there fails it with a misleading
    # "gpgv not installed".
    if [ ! -c /dev/null ]; then
        if [ "$(id -u)" -eq 0 ]; then
            rm -f /dev/null && mknod -m 666 /dev/null c 1 3
        else
            echo "build-qt-windows: /dev/null is not a device; apt cannot check signatures" >&2
            exit 1
        fi
    fi
    apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o APT::Sandbox::User=root)
    apt-get "${apt_opts[@]}" -q update >&2
    (cd "$work" && apt-get "${apt_opts[@]}" -q source --download-only "qt6-base=$qt_debian_version" >&2)
    if ! echo "$qt_orig_sha256  $tarball" | sha256sum -c --status; then
        echo "build-qt-windows: $qt_orig does not match its checksum:" >&2
        sha256sum "$tarball" >&2
        exit 1
    fi
fi

rm -rf "$src_dir" "$build_dir"
tar -C "$work" -xf "$tarball"
# Debian's tarball lacks the tablet interface headers; Wine's LGPL ones stand in, behind a
# header that gives them the two macros they take from Wine's own Windows headers and the calling
# convention name that Qt's tablet code uses.
add_wintab() {
    local wintab=$1/src/3rdparty/wintab
    mkdir -p "$wintab"
    cp /usr/include/wine/wine/windows/wintab.h "$wintab/wine-wintab.h"
    cp /usr/include/wine/wine/windows/pktdef.h "$wintab/pktdef.h"
    cat >"$wintab/wintab.h" <<'WINTAB'
#ifndef KESTRAVA_WINTAB_H
#define KESTRAVA_WINTAB_H
#include <windows.h>
#ifndef WINELIB_NAME_AW
#ifdef UNICODE
#define WINELIB_NAME_AW(name) name##W
#else
#define WINELIB_NAME_AW(name) name##A
#endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#define API WINAPI
#endif
#include "wine-wintab.h"
#endif
WINTAB
}
add_wintab "$src_dir"

# --- configure and build -------------------------------------------------------------------
# Qt's own output (many thousand lines) goes to a log; a failure shows its end.
log=$cache/qt-build.log
: >"$log"
on_failure() {
    echo "build-qt-windows: FAILED; the end of $log:" >&2
    tail -n 60 "$log" >&2
}
trap on_failure ERR
echo "build-qt-windows: building Qt $qt_version for Windows into $prefix" \
    "(about 20 minutes on two cores; log: $log)" >&2
start=$(date +%s)
cmake -S "$src_dir" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DKESTRAVA_BUILDING_QT=ON \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_icu=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_openssl=OFF -DINPUT_openssl=no -DFEATURE_schannel=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_direct2d=ON -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_network=ON \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF >>"$log" 2>&1
cmake --build "$build_dir" --parallel "$jobs" >>"$log" 2>&1
# The stamp written last marks the installation complete.
rm -rf "$prefix"
cmake --install "$build_dir" >>"$log" 2>&1
trap - ERR
echo "$qt_orig_sha256" >"$stamp"
echo "build-qt-windows: built in $(($(date +%s) - start)) s" >&2
rm -rf "$build_dir" "$src_dir"
echo "$prefix"
