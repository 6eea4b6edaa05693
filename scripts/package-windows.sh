#!/usr/bin/env bash
# Builds Kestrava for 64-bit Windows on Linux and packs it: the NSIS installer
# build/windows/Kestrava-<version>-setup.exe and the portable zip
# build/windows/Kestrava-<version>-portable.zip. Installs what is missing and builds the Windows
# Qt once (scripts/build-qt-windows.sh); also builds the Windows test programs.
#
#   JOBS   parallel build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-2}

./scripts/deps.sh --windows
qt=$(./scripts/build-qt-windows.sh | tail -n 1)
export KESTRAVA_QT_WINDOWS=$qt

start=$(date +%s)
cmake --preset windows -DKESTRAVA_QT_WINDOWS="$qt" >/dev/null
cmake --build --preset windows --parallel "$jobs"
echo "package-windows: built in $(($(date +%s) - start)) s"

version=$(sed -n 's/^project(Kestrava VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=$root/build/windows
stage=$build/stage/Kestrava-$version
rm -rf "$build/stage"
cmake --install "$build" --prefix "$stage" >/dev/null

# Qt's platform and style plugins, then every DLL that a program or plugin loads, found among
# Qt's and the compiler's runtime libraries (system DLLs stay out).
mkdir -p "$stage/platforms" "$stage/styles"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
copy_imports() {
    local file=$1 dll found dir
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -f "$stage/$dll" ] && continue
        found=
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                found=$dir/$dll
                break
            fi
        done
        [ -n "$found" ] || continue
        cp "$found" "$stage/"
        copy_imports "$stage/$dll"
    done
}
for file in "$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll; do
    copy_imports "$file"
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

# The portable zip: the same folder; its settings live beside the program.
zip_file=$build/Kestrava-$version-portable.zip
rm -f "$zip_file"
(cd "$build/stage" && zip -q -r -9 "$zip_file" "Kestrava-$version")

# The installer, with an uninstaller that removes exactly the files installed.
setup=$build/Kestrava-$version-setup.exe
nsis_dir=$build/nsis
rm -rf "$nsis_dir"
mkdir -p "$nsis_dir"
cp dist/windows/kestrava.nsi dist/windows/kestrava.ico "$nsis_dir/"
(
    cd "$stage"
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
) >"$nsis_dir/files.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" "$nsis_dir/kestrava.nsi"

echo "package-windows: $(du -k "$setup" | cut -f1) KiB $setup"
echo "package-windows: $(du -k "$zip_file" | cut -f1) KiB $zip_file"
