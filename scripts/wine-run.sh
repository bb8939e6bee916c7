#!/bin/bash
# Runs a Windows program under Wine in the build tree's prefix.
# WL_BUILD_DIR (or the current build dir) locates the prefix; WL_WINVER picks
# the reported Windows version for this program (98, nt40, 2000, xp, 7).
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${WL_BUILD_DIR:-$(pwd)}
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build=$(dirname "$build"); done
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export DISPLAY=${DISPLAY:-:$(cat "$build/xvfb.display" 2>/dev/null || echo 99)}
prog=$1; shift
if [ -n "${WL_WINVER:-}" ]; then
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$prog")" /v Version /d "$WL_WINVER" /f >/dev/null 2>&1
fi
exec wine "$prog" "$@"
