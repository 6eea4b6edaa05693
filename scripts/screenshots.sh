#!/usr/bin/env bash
# Takes the README's pictures: the main window connected to the built-in receiver emulator, every
# tab page and both popup dialogs with the receiver's settings read, in English (*-en.png) and in
# Chinese (*-zh.png), written into docs/. Runs under a virtual X display (xvfb-run).
#   scripts/screenshots.sh [OUTPUT FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
preset="${KESTRAVA_PRESET:-asan}"
for tool in xvfb-run; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing (apt install xvfb)" >&2; exit 1; }
done
if [ ! -d "build/$preset" ]; then
    cmake --preset "$preset"
fi
cmake --build --preset "$preset" --target kestrava_window_shots
mkdir -p "$out"
# The interface font is Arial's metrics; Chinese needs a CJK font (fonts-droid-fallback).
QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1600x1200x24" \
    "build/$preset/tests/app/kestrava_window_shots" "$out" "$PWD/lang"
