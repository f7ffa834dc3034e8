#!/usr/bin/env bash
# orinthal.scr /p <handle>: the saver draws inside a parent window of a test
# host, input does not close it, and it ends with its parent.
#   e2e_preview.sh <orinthal.scr> <preview_host.exe>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_common.sh"
scr=$1
host=$2

delete_settings
stop="$work/stop"
# However the test ends, the host closes its window, and the preview with it.
e2e_before_cleanup() {
  touch "$stop"
  wait_rc host 30 >/dev/null
}
start_bg host wine "$host" "$(winepath -w "$scr")" "$(winepath -w "$stop")"

geometry=""
for _ in $(seq 300); do
  # Wine's console output ends its lines with CR LF.
  read -r _ x y w h < <(tr -d '\r' <"$work/host.out" 2>/dev/null | grep '^client ') &&
    geometry="${w}x${h}+${x}+${y}" && break
  [[ -s "$work/host.rc" ]] && break
  sleep 0.2
done
[[ -n "$geometry" ]] || { cat "$work/host.out" >&2; fail "the host reported no preview"; }
echo "preview at $geometry"

step "the saver draws inside the parent"
# On Windows the preview's frames appear in the parent's client area. Wine
# keeps GL output of a child window that belongs to another process in an
# off-screen X window of the child's size (a known limit of its X11 driver),
# so under Wine the frames are read from there.
read -r w h x y < <(tr 'x+' '  ' <<<"$geometry")
sleep 4
glwindow=$(xwininfo -root -tree | awk -v size="${w}x${h}+0+0" 'index($0, "has no name") && index($0, size) { print $1; exit }')
capture() {  # <file>
  if [[ -n "$glwindow" ]]; then
    import -window "$glwindow" "$1"
  else
    screenshot "$1" "$geometry"
  fi
}
capture "$work/preview1.png" || fail "cannot capture the preview"
sleep 1
capture "$work/preview2.png" || fail "cannot capture the preview"
brightness=$(mean_brightness "$work/preview1.png")
changed=$(changed_fraction "$work/preview1.png" "$work/preview2.png")
echo "captured ${glwindow:-the screen}: brightness $brightness, changed between frames $changed"
at_least "$brightness" 0.03 || fail "the preview is black (mean $brightness)"
# The host's own client area is white: a preview that covers nothing would
# read as white.
at_least 0.9 "$brightness" || fail "no preview over the parent"
at_least "$changed" 0.001 || fail "the preview does not move"

step "input does not close it"
xdotool mousemove $((x + w / 2)) $((y + h / 2))
sleep 0.3
xdotool mousemove $((x + w / 2 + 60)) $((y + h / 2 + 40))
xdotool click 1
xdotool click 3
hostwindow=$(wait_window "Preview Host" 5) && xdotool key --window "$hostwindow" a space
sleep 1.5
[[ ! -s "$work/host.rc" ]] || { cat "$work/host.out" >&2; fail "the host ended early"; }

touch "$stop"
rc=$(wait_rc host 60) || exit 1
cat "$work/host.out"
[[ "$rc" == 0 ]] || fail "the host reported a failure ($rc)"
echo "PASS"
