# Sourced by the screenshot scripts: checks the tools, starts Xvfb on
# $display (screen size $screen) and sets DISPLAY. The EXIT trap kills Xvfb
# and the program whose pid the caller puts in app_pid.
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$exe" ] || { echo "no executable at $exe" >&2; exit 1; }

Xvfb "$display" -screen 0 "${screen:-800x600x24}" -nolisten tcp &
xvfb_pid=$!
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
