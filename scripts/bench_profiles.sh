#!/bin/bash
# Builds and runs the profile store benchmark under Wine (registry only, no
# driver): brings the build tree's prefix up, runs bench_profiles with the
# repetitions given (default 15), brings the prefix down. The figures are
# recorded in BENCHMARK.md.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
cmake -S "$src" -B "$build" >/dev/null
cmake --build "$build" -j2 --target bench_profiles WAVXQ48E simctl wlsim_sys >/dev/null
bash "$src/scripts/prefix.sh" up "$build" >/dev/null
rc=0
(cd "$build/wineprefix/drive_c/wltest" &&
    WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wine "$build/bin/bench_profiles.exe" "$@" >"$build/bench_profiles.out") || rc=$?
grep -v '^DllMain: ' "$build/bench_profiles.out" || true
bash "$src/scripts/prefix.sh" down "$build" >/dev/null
exit $rc
