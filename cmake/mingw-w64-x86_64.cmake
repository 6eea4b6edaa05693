# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix thread model: std::thread
# needs it; the default alternative is the win32 model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_kestrava_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_kestrava_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_kestrava_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_kestrava_mingw}-windres)

# The Windows Qt built by scripts/build-qt-windows.sh; KESTRAVA_QT_WINDOWS overrides its place.
if(NOT DEFINED KESTRAVA_QT_WINDOWS)
    if(DEFINED ENV{KESTRAVA_QT_WINDOWS})
        set(KESTRAVA_QT_WINDOWS "$ENV{KESTRAVA_QT_WINDOWS}")
    else()
        set(KESTRAVA_QT_WINDOWS "$ENV{HOME}/.cache/kestrava/qt-6.4.2-${_kestrava_mingw}")
    endif()
endif()
set(KESTRAVA_QT_WINDOWS "${KESTRAVA_QT_WINDOWS}" CACHE PATH "Qt built for Windows")

set(CMAKE_FIND_ROOT_PATH /usr/${_kestrava_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt's host tools (moc, rcc, uic) come from the Linux Qt of the same version.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
if(NOT KESTRAVA_BUILDING_QT)
    list(PREPEND CMAKE_PREFIX_PATH "${KESTRAVA_QT_WINDOWS}")
    set(QT_HOST_PATH /usr CACHE PATH "Qt host tools")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Qt host tools' packages")
endif()
