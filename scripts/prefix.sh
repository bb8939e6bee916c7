#!/bin/bash
# Brings the build tree's Wine prefix up or down.
#   prefix.sh up   BUILD_DIR  - start Xvfb (before the wineserver, so windows
#                               get a display), create the 32-bit prefix once,
#                               keep its wineserver running, install the built
#                               binaries and the stand-in adapter driver
#   prefix.sh down BUILD_DIR  - stop every process of the prefix and Xvfb
# Every build tree has a prefix, a wineserver and a display of its own, so
# two builds on one machine can bring theirs up and run at the same time.
# A step that fails is reported by name with its output, and "up" fails.
set -uo pipefail
action=${1:-}
[ $# -eq 2 ] && [ -d "$2" ] || { echo "usage: prefix.sh up|down BUILD_DIR" >&2; exit 2; }
build=$(cd "$2" && pwd)
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
bin=$build/bin
log=$build/prefix.log

# step NAME COMMAND...: runs the command with its output in the log (where
# it stays: daemons it starts keep writing there); on failure says which
# step failed, shows what it printed, and stops.
step() {
    local name=$1 start rc
    shift
    start=$(stat -c %s "$log" 2>/dev/null || echo 0)
    "$@" </dev/null
    rc=$?
    if [ $rc -ne 0 ]; then
        echo "prefix: step \"$name\" failed (exit $rc): $*"
        tail -c +$((start + 1)) "$log" | grep -v '^prefix: step ' | sed 's/^/prefix:   /'
        exit 1
    fi
}

# Xvfb chooses a free display itself and writes its number to a descriptor
# (-displayfd): no two builds can pick the same one.
xvfb_start() {
    local n
    if [ -f "$build/xvfb.pid" ] && kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null &&
        [ -s "$build/xvfb.display" ]; then
        return 0
    fi
    rm -f "$build/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/xvfb.display" >"$build/xvfb.log" 2>&1 &
    echo $! >"$build/xvfb.pid"
    for _ in $(seq 100); do
        n=$(tr -dc 0-9 <"$build/xvfb.display" 2>/dev/null)
        if [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; then
            echo "$n" >"$build/xvfb.display"
            return 0
        fi
        kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not report a display:"; cat "$build/xvfb.log"
    return 1
}

prefix_create() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    echo "creating $WINEPREFIX"
    wineboot -i && wineserver -w
}

# A rebuilt driver replaces the loaded one: stop the prefix's processes
# first (a loaded image must not change under them), then start again.
driver_copy() {
    local sys32=$WINEPREFIX/drive_c/windows/system32
    cmp -s "$bin/wlsim.sys" "$sys32/drivers/wlsim.sys" && return 0
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    cp "$bin/wlsim.sys" "$sys32/drivers/wlsim.sys.new" &&
        mv "$sys32/drivers/wlsim.sys.new" "$sys32/drivers/wlsim.sys" &&
        wineserver -p
}

libraries_copy() {
    local f sys32=$WINEPREFIX/drive_c/windows/system32
    for f in "$bin"/*.dll; do
        [ -e "$f" ] || continue
        cp "$f" "$sys32/$(basename "$f").new" && mv "$sys32/$(basename "$f").new" "$sys32/$(basename "$f")" || return 1
    done
}

versions_set() {
    local v
    for v in win98 nt40 win2k winxp win7; do
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\os_$v.exe" /v Version /d $v /f >/dev/null || return 1
    done
}

case $action in
up)
    # Daemons started here (Xvfb, wineserver, services) must not inherit the
    # caller's output pipes, or a caller waiting for their end (ctest) would
    # wait forever: the work runs with its output in the log file, and what
    # this run wrote is shown when it fails.
    start=$(stat -c %s "$log" 2>/dev/null || echo 0)
    if bash "$0" up-quiet "$build" >>"$log" 2>&1 </dev/null; then
        echo "prefix: up (DISPLAY=:$(cat "$build/xvfb.display"))"
    else
        echo "prefix: up failed; its log ($log):"
        tail -c +$((start + 1)) "$log"
        exit 1
    fi
    ;;
up-quiet)
    # Services inherit the environment of the prefix's service manager,
    # started here: their event reports (the only output of these two
    # channels) land in prefix.log, where tests read them.
    export WINEDEBUG=-all,+eventlog,fixme+advapi
    echo "prefix: up $(date -u +%FT%TZ)"
    step "start Xvfb" xvfb_start
    export DISPLAY=:$(cat "$build/xvfb.display")
    step "create the prefix" prefix_create
    # Keep the server (and the loaded driver) alive between test programs;
    # a server already running from an earlier "up" was started this way.
    wineserver -p 2>/dev/null
    step "make the test folder" mkdir -p "$WINEPREFIX/drive_c/wltest"
    step "install the driver image" driver_copy
    step "install the libraries" libraries_copy
    step "install and start the stand-in driver" \
        wine "$bin/simctl.exe" install 'C:\windows\system32\drivers\wlsim.sys'
    step "set the reported Windows versions" versions_set
    echo "prefix: up-quiet done"
    ;;
down)
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -f "$build/xvfb.pid" ]; then
        kill "$(cat "$build/xvfb.pid")" 2>/dev/null
        rm -f "$build/xvfb.pid"
    fi
    echo "prefix: down"
    ;;
*) echo "usage: prefix.sh up|down BUILD_DIR" >&2; exit 2 ;;
esac
exit 0
