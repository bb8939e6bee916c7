#!/bin/bash
# Sets everything up (packages, build, Wine prefix) and runs the demo.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
bash "$src/scripts/setup.sh"
cmake -S "$src" -B "$build" -DWL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2 --target wldemo WAVXQ48C WAVXQ48D WAVXQ48E WAVXQ48F simctl wlsim_sys WCVXQ48F WSVXQ48D wsvxq48x
bash "$src/scripts/prefix.sh" up "$build" >/dev/null
rc=0
(cd "$build/wineprefix/drive_c/wltest" && WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine "$build/bin/wldemo.exe") || rc=$?
bash "$src/scripts/prefix.sh" down "$build" >/dev/null
exit $rc
