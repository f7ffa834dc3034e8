#!/usr/bin/env bash
# orinthal.scr /s: frames appear and move; a second start leaves the first
# alone; a mouse move of 4 pixels keeps the saver, 5 close it; a mouse button
# and a key close it; the exit code is 0.
#   e2e_full_screen.sh <orinthal.scr>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_common.sh"
scr=$1

delete_settings

step "frames appear"
start_bg saver wine "$scr" /s
saver=$(wait_window "Screen Saver" 60) || fail "no full-screen window"
sleep 4
screenshot "$work/frame1.png"
sleep 1
screenshot "$work/frame2.png"
brightness=$(mean_brightness "$work/frame1.png")
changed=$(changed_fraction "$work/frame1.png" "$work/frame2.png")
echo "brightness $brightness, changed between frames $changed"
at_least "$brightness" 0.03 || fail "the screen is black (mean $brightness)"
at_least "$changed" 0.001 || fail "the picture does not move"

step "a second start brings the first forward and ends with 0"
second=$(timeout 60 wine "$scr" /s; echo $?)
[[ "$second" == 0 ]] || fail "second start ended with $second"
sleep 1.5
has_window "Screen Saver" || fail "the first saver closed"
[[ ! -s "$work/saver.rc" ]] || fail "the first saver ended"

step "a mouse move of 4 pixels keeps it"
# Measured from where the pointer is now: a fresh Wine server puts the
# pointer where it believes it to be when its first window opens.
eval "$(xdotool getmouselocation --shell)"
echo "pointer at $X,$Y"
xdotool mousemove $((X + 2)) $((Y + 2))
sleep 1.5
xdotool mousemove $((X + 3)) $((Y - 1))
sleep 1.5
[[ ! -s "$work/saver.rc" ]] || fail "a move of 4 pixels closed the saver"

step "a move of 5 closes it with 0"
xdotool mousemove $((X + 3)) $((Y + 2))
rc=$(wait_rc saver 30) || exit 1
[[ "$rc" == 0 ]] || fail "exit code $rc after the mouse move"
wait_no_window "Screen Saver" 10 || fail "the window stayed"

step "a mouse button closes it"
start_bg saver wine "$scr" /s
saver=$(wait_window "Screen Saver" 60) || fail "no full-screen window"
sleep 2
[[ ! -s "$work/saver.rc" ]] || fail "the saver closed by itself"
xdotool click 1
rc=$(wait_rc saver 30) || exit 1
[[ "$rc" == 0 ]] || fail "exit code $rc after a click"

step "a key closes it"
start_bg saver wine "$scr" /s
saver=$(wait_window "Screen Saver" 60) || fail "no full-screen window"
sleep 2
[[ ! -s "$work/saver.rc" ]] || fail "the saver closed by itself"
# Without a window manager the X focus stays with the pointer's root, so the
# key goes to the saver's own X window. The saver ends on the press, before
# the release arrives, which leaves Wine's server thinking the key is down
# for a moment; so this is the last saver of the script.
xdotool key --window "$saver" a
rc=$(wait_rc saver 30) || exit 1
[[ "$rc" == 0 ]] || fail "exit code $rc after a key"

echo "PASS"
