#!/bin/bash
# Builds and runs the scan benchmark under Wine: brings the build
# tree's prefix up, runs bench_scan with the arguments given (rounds,
# default 200), brings the prefix
# down. The figures are recorded in BENCHMARK.md.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
cmake -S "$src" -B "$build" >/dev/null
cmake --build "$build" -j2 --target bench_scan WAVXQ48C WAVXQ48D WAVXQ48E WAVXQ48F simctl wlsim_sys >/dev/null
bash "$src/scripts/prefix.sh" up "$build" >/dev/null
rc=0
(cd "$build/wineprefix/drive_c/wltest" &&
    WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine "$build/bin/bench_scan.exe" "$@" >"$build/bench_scan.out") || rc=$?
grep -v '^DllMain: ' "$build/bench_scan.out" || true
bash "$src/scripts/prefix.sh" down "$build" >/dev/null
exit $rc
