#!/bin/bash
# Brings the build tree's Wine prefix up or down.
#   prefix.sh up   BUILD_DIR  - start Xvfb (before the wineserver, so windows
#                               get a display), create the 32-bit prefix once,
#                               keep its wineserver running, install the built
#                               binaries and the stand-in adapter driver
#   prefix.sh down BUILD_DIR  - stop every process of the prefix and Xvfb
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
bin=$build/bin

xvfb_up() {
    local n
    if [ -f "$build/xvfb.pid" ] && kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null; then
        export DISPLAY=:$(cat "$build/xvfb.display"); return
    fi
    for n in $(seq 91 140); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        echo $! > "$build/xvfb.pid"
        echo $n > "$build/xvfb.display"
        export DISPLAY=:$n
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return; sleep 0.1; done
        echo "prefix: Xvfb :$n did not start"; exit 1
    done
    echo "prefix: no free display"; exit 1
}

case $action in
up)
    # Daemons started here (Xvfb, wineserver, services) must not inherit the
    # caller's output pipes, or a caller waiting for their end (ctest) would
    # wait forever: the work runs with its output in a log file.
    if bash "$0" up-quiet "$build" >>"$build/prefix.log" 2>&1 </dev/null; then
        echo "prefix: up (DISPLAY=:$(cat "$build/xvfb.display"))"
    else
        tail -20 "$build/prefix.log"; exit 1
    fi
    ;;
up-quiet)
    # Services inherit the environment of the prefix's service manager,
    # started here: their event reports (the only output of these two
    # channels) land in prefix.log, where tests read them.
    export WINEDEBUG=-all,+eventlog,fixme+advapi
    xvfb_up
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "prefix: creating $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    # Keep the server (and the loaded driver) alive between test programs;
    # a server already running from an earlier "up" was started this way.
    wineserver -p 2>/dev/null || true
    sys32=$WINEPREFIX/drive_c/windows/system32
    mkdir -p "$WINEPREFIX/drive_c/wltest"
    # A rebuilt driver replaces the loaded one: stop the prefix's processes
    # first (a loaded image must not change under them), then start again.
    if ! cmp -s "$bin/wlsim.sys" "$sys32/drivers/wlsim.sys"; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        cp "$bin/wlsim.sys" "$sys32/drivers/wlsim.sys.new"
        mv "$sys32/drivers/wlsim.sys.new" "$sys32/drivers/wlsim.sys"
        wineserver -p
    fi
    for f in "$bin"/*.dll; do
        [ -e "$f" ] || continue
        cp "$f" "$sys32/$(basename "$f").new" && mv "$sys32/$(basename "$f").new" "$sys32/$(basename "$f")"
    done
    wine "$bin/simctl.exe" install 'C:\windows\system32\drivers\wlsim.sys' >/dev/null
    # Reported Windows versions for the programs that test them.
    for v in win98 nt40 win2k winxp win7; do
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\os_$v.exe" /v Version /d $v /f >/dev/null 2>&1
    done
    echo "prefix: up-quiet done"
    ;;
down)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -f "$build/xvfb.pid" ]; then
        kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
        rm -f "$build/xvfb.pid"
    fi
    echo "prefix: down"
    ;;
*) echo "usage: prefix.sh up|down BUILD_DIR" >&2; exit 2 ;;
esac
