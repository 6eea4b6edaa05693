#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (warnings are errors) and runs the whole test suite. Arguments are passed to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan "$@"
