#!/usr/bin/env bash
# Builds Kestrava for Windows on Linux and tests it under wine, from nothing:
#   1. installs what is missing, builds the Windows Qt once, cross-builds the programs and the
#      tests (warnings are errors), packs the installer and the portable zip
#      (scripts/package-windows.sh);
#   2. runs the Windows suite under wine through ctest, with kestrava-sim on Linux
#      pseudo-terminals offered to wine as COM ports for the Win32 serial port's own tests;
#   3. end to end: kestrava-cli.exe --port COMn info, get, set (read back), files download
#      (byte-identical to what the Linux kestrava-cli downloads) and firmware against
#      kestrava-sim;
#   4. installs the setup silently, runs the installed kestrava-cli.exe --version, uninstalls;
#      runs the programs of the portable zip.
# Arguments are passed to ctest. Every step runs under a time limit.
#
#   JOBS                 parallel build jobs (default 2)
#   KESTRAVA_WINEPREFIX  the wine prefix (default ~/.cache/kestrava/wine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
begin=$(date +%s)
say() { echo "test-windows: $*"; }
# Once wine runs, the programs' standard error goes to a log (fd 3 is the script's own): the wine
# server writes to the one that started it, a dump of its objects when it stops among others.
exec 3>&2
fail() {
    echo "test-windows: FAILED: $*" >&3
    exit 1
}

./scripts/deps.sh --windows
timeout 4800 ./scripts/package-windows.sh
built=$(date +%s)

version=$(sed -n 's/^project(Kestrava VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=$root/build/windows
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export KESTRAVA_WINEPREFIX=${KESTRAVA_WINEPREFIX:-$HOME/.cache/kestrava/wine}
export WINEPREFIX=$KESTRAVA_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export ASAN_OPTIONS=detect_leaks=0

# ---- the Linux side: kestrava-sim and kestrava-cli ------------------------------------------
# Those of the Linux test build when it is there (scripts/test.sh), else a small build of them.
if [ -x build/asan/src/emulator/kestrava-sim ] && [ -x build/asan/src/cli/kestrava-cli ]; then
    tools=$root/build/asan
else
    tools=$root/build/linux-tools
    cmake -S . -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRAVA_BUILD_GUI=OFF \
        -DKESTRAVA_BUILD_TESTS=OFF >/dev/null
    timeout 1800 cmake --build "$tools" --parallel "${JOBS:-2}" --target kestrava-sim kestrava-cli
fi
sim=$tools/src/emulator/kestrava-sim
linux_cli=$tools/src/cli/kestrava-cli

# ---- wine, emulators and COM ports -----------------------------------------------------------
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the wine prefix $WINEPREFIX"
    timeout 600 "$wine" wineboot -i >/dev/null 2>&1
fi
work=$(mktemp -d /tmp/kestrava-windows.XXXXXX)
pids=()
cleanup() {
    local status=$?
    if [ "$status" -ne 0 ] && [ -s "$work/wine.log" ]; then
        echo "test-windows: the end of the programs' standard error:" >&3
        tail -n 40 "$work/wine.log" >&3
    fi
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# start_sim NAME OPTIONS...: an emulator whose terminal stays reachable as $work/NAME.
start_sim() {
    local name=$1
    shift
    "$sim" --link "$work/$name" "$@" >"$work/$name.out" 2>&1 &
    pids+=($!)
    eval "${name}_pid=$!"
    for _ in $(seq 100); do
        [ -e "$work/$name" ] && return 0
        sleep 0.1
    done
    fail "kestrava-sim $name did not start: $(cat "$work/$name.out")"
}
start_sim plain
start_sim split --split 100000:60
start_sim e2e --file SURVEY01.STH:30000
start_sim reference --file SURVEY01.STH:30000

# A test that wants the plain emulator's cable pulled creates this file.
(
    while kill -0 "$plain_pid" 2>/dev/null; do
        if [ -f "$work/pull" ]; then
            rm -f "$work/pull"
            kill -HUP "$plain_pid"
        fi
        sleep 0.1
    done
) &
pids+=($!)

cat >"$work/ports.reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM21"="$work/plain"
"COM22"="$work/split"
"COM23"="$work/e2e"
EOF
timeout 120 "$wine" regedit "$work/ports.reg"
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
exec 2>>"$work/wine.log"

# ---- the suite -------------------------------------------------------------------------------
export KESTRAVA_SIM_COM=COM21 KESTRAVA_SIM_SPLIT_COM=COM22 KESTRAVA_SIM_PULL="Z:$work/pull"
suite_start=$(date +%s)
timeout 2400 ctest --preset windows -j2 "$@"
suite_end=$(date +%s)

# ---- end to end: kestrava-cli.exe on a COM port ----------------------------------------------
e2e_start=$(date +%s)
cli_exe=$build/kestrava-cli.exe
on_com() { timeout 180 ./scripts/wine-run.sh "$cli_exe" --port COM23 "$@"; }
expect() { # expect TEXT OUTPUT
    grep -qF -- "$1" <<<"$2" || fail "expected \"$1\" in:
$2"
}
info=$(on_com info)
expect "KS260107" "$info"
say "info: $(tr '\n' ' ' <<<"$info" | tr -d '\r')"
expect "Port=" "$(on_com get NetParams)"
on_com set NetParams.Port=2102 >/dev/null
expect "Port=2102" "$(on_com get NetParams | tr -d '\r')"
say "set NetParams.Port=2102 and read it back"

mkdir -p "$work/download"
on_com files download SURVEY01.STH --output "Z:$work/download/SURVEY01.STH" >/dev/null
timeout 180 "$linux_cli" --port "$work/reference" files download SURVEY01.STH \
    --output "$work/SURVEY01.reference" >/dev/null
cmp "$work/download/SURVEY01.STH" "$work/SURVEY01.reference" ||
    fail "the file downloaded on Windows differs from the one downloaded on Linux"
say "files download: $(stat -c %s "$work/download/SURVEY01.STH") bytes, identical"

head -c 20000 /dev/urandom >"$work/update.098.kvb"
firmware=$(on_com firmware "Z:$work/update.098.kvb" --type receiver --yes --timeout 30 2>&1) ||
    fail "firmware: $firmware"
say "firmware: $(tail -n 1 <<<"$firmware" | tr -d '\r')"
e2e_end=$(date +%s)

# ---- the installer and the portable zip ------------------------------------------------------
setup=$build/Kestrava-$version-setup.exe
installed="$WINEPREFIX/drive_c/Program Files/Kestrava"
timeout 300 "$wine" "$setup" /S
[ -f "$installed/kestrava-cli.exe" ] || fail "the setup installed no kestrava-cli.exe"
[ -f "$installed/lang/chinese.lang" ] || fail "the setup installed no language files"
timeout 60 "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrava' \
    >/dev/null || fail "the uninstaller is not registered"
# Run with nothing but what the setup installed: no extra DLL search path.
installed_version=$(env -u WINEPATH timeout 60 "$wine" 'C:\Program Files\Kestrava\kestrava-cli.exe' --version | tr -d '\r')
[ "$installed_version" = "kestrava-cli $version" ] ||
    fail "installed kestrava-cli.exe --version said \"$installed_version\""
say "installed: $installed_version"
timeout 120 "$wine" 'C:\Program Files\Kestrava\Uninstall.exe' /S
for _ in $(seq 120); do
    [ -e "$installed" ] || break
    sleep 0.5
done
[ -e "$installed" ] && fail "the uninstaller left $(find "$installed" | head -n 5)"
say "uninstalled"

mkdir -p "$work/zip"
(cd "$work/zip" && unzip -q "$build/Kestrava-$version-portable.zip")
portable=$work/zip/Kestrava-$version
zip_version=$(env -u WINEPATH timeout 60 "$wine" "$portable/kestrava-cli.exe" --version | tr -d '\r')
[ "$zip_version" = "kestrava-cli $version" ] || fail "the zip's kestrava-cli.exe said \"$zip_version\""
help=$(env -u WINEPATH WINEQT_QPA_PLATFORM=offscreen timeout 60 "$wine" "$portable/kestrava.exe" --help | tr -d '\r')
expect "%APPDATA%\\Kestrava" "$help"
say "portable zip: $zip_version"

end=$(date +%s)
say "times: build $((built - begin)) s, suite $((suite_end - suite_start)) s," \
    "end to end $((e2e_end - e2e_start)) s, packages $((end - e2e_end)) s, all $((end - begin)) s"
say "setup $(du -k "$setup" | cut -f1) KiB, zip $(du -k "$build/Kestrava-$version-portable.zip" | cut -f1) KiB"
say "passed"
