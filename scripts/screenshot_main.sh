#!/usr/bin/env bash
# Starts the editor on a virtual X display, selects the new program's spot,
# inserts a "直行" block from the palette and saves a picture of the screen.
#   scripts/screenshot_main.sh [executable] [output.png]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
exe="${1:-$here/build/default/app/dedevav-flow}"
out="${2:-$PWD/main_window.png}"
display=":${DISPLAY_NUMBER:-99}"

screen=800x600x24
. "$here/scripts/virtual_display.sh"

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
