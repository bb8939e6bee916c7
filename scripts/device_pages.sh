#!/bin/bash
# Installs a stand-in adapter through Setup from the family's INF and shows
# its pages as the Device Manager gets them, for the demo.
#   device_pages.sh BUILD_DIR [--open] [--keep] [VARIANT]
# The build tree must hold the setup tools and the installation folder
# (targets devsetup, devprops, setup_media); its prefix is brought up.
# Without --open the sheet is captured to BUILD_DIR/screenshots/
# device_pages.png (.bmp when ImageMagick's convert is missing) and closed;
# with --open it stays for a person (under a real X display: DISPLAY set
# before the prefix's wineserver starts). --keep leaves the adapter
# installed (its NIC id is printed) instead of removing it again through
# Setup. VARIANT is C, D, E (default) or F. The prefix is left up.
set -uo pipefail
[ $# -ge 1 ] && [ -d "$1" ] || { echo "usage: device_pages.sh BUILD_DIR [--open] [--keep] [VARIANT]" >&2; exit 2; }
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
open=0 keep=0 variant=E
for a in "$@"; do
    case $a in
    --open) open=1 ;;
    --keep) keep=1 ;;
    [CDEF]) variant=$a ;;
    *) echo "device_pages.sh: unknown argument $a" >&2; exit 2 ;;
    esac
done
bash "$src/scripts/prefix.sh" up "$build" >/dev/null || exit 1
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
export DISPLAY=${DISPLAY:-:$(cat "$build/xvfb.display")}
winpath() { echo "Z:$1" | tr / '\\'; }
cd "$build/wineprefix/drive_c/wltest" || exit 1

# The co-installer's libraries print their attach lines; leave them out.
run() { wine "$@" 2>&1 | grep -v '^DllMain:'; return "${PIPESTATUS[0]}"; }

out=$(run "$build/devsetup/devsetup.exe" install "$(winpath "$build/setup/wlvxq48.inf")" "$variant" --sim) || {
    echo "$out"; exit 1; }
echo "$out"
nic=$(echo "$out" | tr -d '\r' | sed -n 's/^nic //p')

rc=0
if [ $open = 1 ]; then
    run "$build/devsetup/devprops.exe" "$nic" || rc=$?
else
    mkdir -p "$build/screenshots"
    bmp=$build/screenshots/device_pages.bmp
    run "$build/devsetup/devprops.exe" "$nic" --shot "$(winpath "$bmp")" || rc=$?
    if [ -f "$bmp" ] && command -v convert >/dev/null; then
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && echo "written ${bmp%.bmp}.png"
    fi
fi
[ $keep = 1 ] || run "$build/devsetup/devsetup.exe" remove "$nic" || rc=$?
exit $rc
