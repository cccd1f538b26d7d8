#!/usr/bin/env bash
# The pictures of the user guide: starts the editor on a virtual X display
# with the example chart, compiles it, opens a block's dialog and the
# download window, and saves a picture of each window.
#   scripts/screenshot_guide.sh [executable] [output dir]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
exe="${1:-$here/build/default/app/dedevav-flow}"
out="${2:-$here/docs/images}"
display=":${DISPLAY_NUMBER:-98}"
mkdir -p "$out"

screen=1024x768x24
. "$here/scripts/virtual_display.sh"

# The newest visible window whose title matches.
wait_window() {
    local found=""
    for _ in $(seq 100); do
        found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)"
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || { echo "no window \"$1\" appeared" >&2; exit 1; }
    echo "$found"
}

QT_QPA_PLATFORM=xcb "$exe" "$here/docs/examples/square.rer" &
app_pid=$!
main="$(wait_window 'square.rer')"
# No window manager: the window at the screen's corner, so that the
# coordinates below are those of its client area.
xdotool windowmove "$main" 0 0
sleep 0.5

# The compile button of the toolbar, then the picture of the main window.
xdotool mousemove 378 18 click 1
sleep 0.5
import -window "$main" "$out/main_window.png"

# A double click on the "直行" block (the fourth block from the top of the
# canvas) opens its dialog.
xdotool mousemove 260 262 click --repeat 2 --delay 80 1
dialog="$(wait_window '直行')"
sleep 0.3
import -window "$dialog" "$out/block_dialog.png"
# Its "取消" button, 127,249 inside the dialog, closes it.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 127)) $((Y + 249)) click 1
sleep 0.5

# The download button: the download window with the listing.
xdotool mousemove 410 18 click 1
sleep 0.8
download="$(wait_window '下载')"
import -window "$download" "$out/download_window.png"
echo "saved $out/main_window.png $out/block_dialog.png $out/download_window.png"
