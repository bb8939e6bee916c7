#!/bin/bash
# Builds what the README's wlcfg example needs, brings up the build tree's
# Wine prefix and runs the example (tools/wlcfg/example.cpp) in a folder of
# its own; prints the commands and their real output.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
cmake -S "$src" -B "$build" -DWL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2 --target wlcfg wlcfg_example WAVXQ48C WAVXQ48D WAVXQ48E WAVXQ48F simctl wlsim_sys \
    WSVXQ48F wsvxq48x >/dev/null
bash "$src/scripts/prefix.sh" up "$build" >/dev/null
dir="$build/wineprefix/drive_c/wlcfg_example"
mkdir -p "$dir"
rc=0
(cd "$dir" && WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine "$build/bin/wlcfg_example.exe") || rc=$?
bash "$src/scripts/prefix.sh" down "$build" >/dev/null
exit $rc
