#!/usr/bin/env bash
# Prints, one per line, every English text of the program that a language file does not translate
# (default lang/chinese.lang). The texts are read from the sources, so run it after merging: add
# the translations as "english<TAB>translation" lines with scripts/lang-add.py.
#   scripts/lang-missing.sh [LANGUAGE FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
lang_file="$(realpath "${1:-lang/chinese.lang}")"
preset="${KESTRAVA_PRESET:-asan}"
if [ ! -d "build/$preset" ]; then
    cmake --preset "$preset" >&2
fi
cmake --build --preset "$preset" --target kestrava_lang_missing >&2
exec "build/$preset/tests/lang/kestrava_lang_missing" src "$lang_file"
