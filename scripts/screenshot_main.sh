#!/usr/bin/env bash
# Starts the editor on a virtual X display, selects the new program's spot,
# inserts a "直行" block from the palette and saves a picture of the screen.
#   scripts/screenshot_main.sh [executable] [output.png]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
exe="${1:-$here/build/default/app/dedevav-flow}"
out="${2:-$PWD/main_window.png}"
display=":${DISPLAY_NUMBER:-99}"

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$exe" ] || { echo "no executable at $exe" >&2; exit 1; }

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb_pid=$!
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$exe" &
app_pid=$!

window=""
for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --name 'DEDEVAV' 2>/dev/null | head -n1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
# No window manager: place the window at the screen's corner so that the
# coordinates below are those of its client area.
xdotool windowmove "$window" 0 0
sleep 0.5

# Canvas: 145 pixels of palette, then the canvas frame; toolbar 37 high.
# The spot's marker stands at content (95..134, 57..70).
canvas_x=$((145 + 1))
canvas_y=$((37 + 1))
xdotool mousemove $((canvas_x + 110)) $((canvas_y + 63)) click 1
sleep 0.3
# First item of the open group ("直行"): the first button under the header.
xdotool mousemove 72 $((37 + 26 + 30)) click 1
sleep 0.5
import -window root "$out"
echo "saved $out"
