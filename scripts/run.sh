#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it with the built-in
# receiver emulator listed first among the ports, so Open works without a receiver.
# Arguments are passed to the program (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec ./build/release/src/app/kestrava --emulator "$@"
