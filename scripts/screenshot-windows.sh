#!/usr/bin/env bash
# Takes docs/kestrava-windows.png: kestrava.exe (of the portable zip that
# scripts/package-windows.sh made) under wine on a virtual X display, started with its built-in
# emulator, the emulator opened and its main information read.
#   scripts/screenshot-windows.sh [OUTPUT FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "${1:-docs/kestrava-windows.png}")
version=$(sed -n 's/^project(Kestrava VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip_file=$root/build/windows/Kestrava-$version-portable.zip
[ -f "$zip_file" ] || ./scripts/package-windows.sh
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot-windows.sh: $tool is missing" >&2; exit 1; }
done

export WINEPREFIX=${KESTRAVA_WINEPREFIX:-$HOME/.cache/kestrava/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
work=$(mktemp -d /tmp/kestrava-shot.XXXXXX)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    kill "$program" 2>/dev/null || true
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
program=
trap cleanup EXIT
export DISPLAY=$display
(cd "$work" && unzip -q "$zip_file")
folder=$work/Kestrava-$version
[ -f "$WINEPREFIX/system.reg" ] || timeout 600 "$wine" wineboot -i >/dev/null 2>&1

(cd "$folder" && exec env -u WINEPATH "$wine" ./kestrava.exe --emulator) >"$work/log" 2>&1 &
program=$!
window=
for _ in $(seq 120); do
    window=$(xdotool search --name "Kestrava V" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.5
done
[ -n "$window" ] || { echo "screenshot-windows.sh: no window; $(cat "$work/log")" >&2; exit 1; }
sleep 2
# Pick the first port (the emulator) from the port list, then press Open; positions as parts of
# the window's size (the list's arrow, its first entry, the Open button).
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((WIDTH * 636 / 773)) $((HEIGHT * 36 / 625)) click 1
sleep 1
xdotool mousemove --window "$window" $((WIDTH * 636 / 773)) $((HEIGHT * 55 / 625)) click 1
sleep 1
xdotool mousemove --window "$window" $((WIDTH * 691 / 773)) $((HEIGHT * 36 / 625)) click 1
sleep 4
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "$out"
