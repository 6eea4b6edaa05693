#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Kestrava needs, and only those that
# are missing, so a second run costs nothing. Uses sudo when not run as root. --fuzz adds the
# fuzzing compiler, --windows the cross compiler, wine and NSIS.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev
    fonts-liberation fonts-droid-fallback
    rtklib
)
case "${1:-}" in
--fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
# Cross-building for Windows and testing under wine (scripts/test-windows.sh); libwine-dev
# brings the tablet headers that Debian's Qt source lacks.
--windows) packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libwine-dev wine64 nsis
                      zip unzip xz-utils xvfb xauth) ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
