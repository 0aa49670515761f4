#!/usr/bin/env bash
# Takes docs/viewer.png: repview with no argument on a virtual X display, the
# sample report opened through the Open dialog with the keyboard, as a
# person would.
#   scripts/viewer-screenshot.sh BUILD_DIR [OUTPUT.png]    (default docs/viewer.png)
# Needs Xvfb, openbox, xdotool and ImageMagick's import.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: viewer-screenshot.sh BUILD_DIR [OUTPUT.png]}" && pwd)
output=${2:-$source_dir/docs/viewer.png}
report="$source_dir/samples/ZLT/RPT"
display=:$((50 + RANDOM % 40))

Xvfb "$display" -screen 0 800x560x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    kill "$xvfb" 2> /dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
openbox > /dev/null 2>&1 &
pids+=($!)
sleep 0.5
REPVIEW_PRINTER="pdf:$(mktemp -d)" "$build/bin/repview" > /dev/null 2>&1 &
pids+=($!)

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^DOS to Windows printing$' 2> /dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the viewer window did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$window" windowmove "$window" 40 30
sleep 0.3
xdotool key --window "$window" ctrl+o
sleep 1
# The file-name box holds "RPT." selected: type the sample's path over it.
xdotool key ctrl+a
xdotool type --delay 5 "$report"
xdotool key Return
sleep 1.5
# The window with its frame, as the desktop shows it.
import -frame -window "$window" "$output"
