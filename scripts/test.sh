#!/bin/bash
# Sets everything up (packages, build, Wine prefix) and runs all tests.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
bash "$src/scripts/setup.sh"
cmake -S "$src" -B "$build" -DWL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2
cd "$build"
rc=0
ctest --output-on-failure --timeout 900 || rc=$?
bash "$src/scripts/prefix.sh" down "$build" >/dev/null 2>&1 || true
exit $rc
