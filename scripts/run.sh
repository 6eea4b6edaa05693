#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it.
# Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec ./build/release/src/cli/kestrava-cli "$@"
