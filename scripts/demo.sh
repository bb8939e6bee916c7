#!/bin/bash
# Sets everything up (packages, build, Wine prefix) and runs the demo: the
# library tour (wldemo.exe), then an adapter installed through Setup from
# the family's INF whose "Wireless Networks" page is used as a person
# would, with a screenshot of the sheet in build/screenshots/.
#   demo.sh [--open]   --open leaves the sheet for a person at the end
#                      (under a real X display: DISPLAY set beforehand)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$src/build}
open=0
[ "${1:-}" = "--open" ] && open=1
bash "$src/scripts/setup.sh"
cmake -S "$src" -B "$build" -DWL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2 --target wldemo WAVXQ48C WAVXQ48D WAVXQ48E WAVXQ48F simctl wlsim_sys WCVXQ48F \
    WSVXQ48D wsvxq48x devsetup devprops setup_media
bash "$src/scripts/prefix.sh" up "$build" >/dev/null
rc=0
cd "$build/wineprefix/drive_c/wltest"
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
WINEPREFIX="$build/wineprefix" wine "$build/bin/wldemo.exe" || rc=$?

# The co-installer's libraries print their attach lines, and the library its
# walk of the scanned elements; leave them out.
noise='^(DllMain:|ssid |typ |len |RSN |WPA |version |group |map_|pairwise |authenticated |capabilities )'
export DISPLAY=${DISPLAY:-:$(cat "$build/xvfb.display")}
winpath() { echo "Z:$1" | tr / '\\'; }
run() {
    wine "$@" 2>&1 | { grep -v -E "$noise" || true; } | tr -d '\r'
    return "${PIPESTATUS[0]}"
}
echo
echo "== The adapter installed through Setup, its pages used as a person would"
out=$(run "$build/devsetup/devsetup.exe" install "$(winpath "$build/setup/wlvxq48.inf")" E --sim) || {
    echo "$out"; exit 1; }
echo "$out"
nic=$(echo "$out" | sed -n 's/^nic //p')
run "$build/bin/simctl.exe" station 02:57:4C:00:05:01 BranchNet 6 60 10 ap open branch-ap >/dev/null
run "$build/bin/simctl.exe" station 02:57:4C:00:05:02 CafeNet 11 45 12 ap wpa2 cafe-ap >/dev/null
run "$build/bin/simctl.exe" station 02:57:4C:00:05:03 LabGroup 3 50 10 peer open lab-pc >/dev/null
mkdir -p "$build/screenshots"
bmp=$build/screenshots/demo_networks.bmp
wait=()
[ $open = 1 ] && wait=(--wait)
run "$build/devsetup/devprops.exe" "$nic" --story Branch BranchNet --shot "$(winpath "$bmp")" "${wait[@]}" || rc=$?
if [ -f "$bmp" ] && command -v convert >/dev/null; then
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
fi
run "$build/devsetup/devsetup.exe" remove "$nic" || rc=$?
for b in 01 02 03; do run "$build/bin/simctl.exe" unstation 02:57:4C:00:05:$b >/dev/null || true; done
cd "$src"
bash "$src/scripts/prefix.sh" down "$build" >/dev/null
exit $rc
