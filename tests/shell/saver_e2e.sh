#!/usr/bin/env bash
# End-to-end cases for the saver program on a live X server (run it through
# with-xvfb.sh): saver_e2e.sh ORINTHAL X11_TEST_WINDOW CASE
#
# The program writes its lifecycle steps to ORINTHAL_TRACE; the cases drive
# it with xdotool and signals and then check the steps and their order. All
# waits poll with a bound; nothing relies on a fixed sleep being long enough.
set -uo pipefail

saver=$1
helper=$2
case_name=$3

# Libraries the saver (and only the saver) runs with; see CMakeLists.txt.
preload=${ORINTHAL_E2E_PRELOAD:-}
# env execs the program, so a background start's $! is the saver itself.
saver() { env LD_PRELOAD="$preload" "$saver" "$@"; }

work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
export ORINTHAL_TRACE="$work/trace"
saver_pid=
helper_pid=

cleanup() {
  for pid in $saver_pid $helper_pid; do
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  if [[ -f "$ORINTHAL_TRACE" ]]; then
    echo "--- trace (ticks left out):" >&2
    grep -v '^tick ' "$ORINTHAL_TRACE" >&2
    echo "--- ticks: $(ticks)" >&2
  fi
  [[ -f "$work/stderr" ]] && { echo "--- saver stderr:" >&2; cat "$work/stderr" >&2; }
  exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms.
wait_until() {
  local limit=$(($1 * 20))
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

ticks() {
  local count
  count=$(grep -c '^tick ' "$ORINTHAL_TRACE" 2>/dev/null)
  echo "${count:-0}"
}
ticks_at_least() { (($(ticks) >= $1)); }
running() { kill -0 "$saver_pid" 2>/dev/null; }
not_running() { ! running; }

start_saver() {
  env LD_PRELOAD="$preload" "$saver" "$@" 2>"$work/stderr" &
  saver_pid=$!
  # Start-up includes loading twelve pictures, slow under the sanitizers.
  wait_until 90 ticks_at_least 3 || fail "no frames ticked after start"
}

# Runs until the program has ticked n more frames: by then it has handled
# every event that reached it before.
more_ticks() {
  local target=$(($(ticks) + ${1:-3}))
  wait_until 30 ticks_at_least "$target" || fail "stopped ticking"
}

finish() {
  wait_until 30 not_running || fail "did not exit"
  wait "$saver_pid"
  status=$?
  saver_pid=
  [[ $status -eq 0 ]] || fail "exit status $status, expected 0"
}

# The trace with each run of ticks folded into one "ticks" line, checking
# that ticks are numbered 1, 2, 3, ... without gaps.
lifecycle() {
  awk '
    /^tick / { if ($2 != ++n) print "tick " $2 " out of order"; if (!inticks) print "ticks"; inticks = 1; next }
    { inticks = 0; print }
  ' "$ORINTHAL_TRACE"
}

expect_lifecycle() {  # SIZE CLOSE-REASON
  local expected
  expected=$(printf '%s\n' "create $1" load-settings create-gl-context init-scene start-tick ticks \
    "close $2" stop-tick shutdown-scene destroy-gl-context "exit 0")
  [[ "$(lifecycle)" == "$expected" ]] || fail "lifecycle differs; expected:
$expected
got:
$(lifecycle)"
}

start_helper_window() {  # SIZE: sets helper_window
  "$helper" create "$1" >"$work/helper" &
  helper_pid=$!
  wait_until 10 grep -q '^0x' "$work/helper" || fail "helper window did not appear"
  helper_window=$(head -n 1 "$work/helper")
}

expect_painted() {  # WINDOW: more than half its pixels differ from its white background
  local painted total
  read -r painted _ total < <("$helper" probe "$1") || fail "cannot read window $1"
  ((painted * 2 > total)) || fail "window $1 left unpainted: $painted of $total pixels drawn"
}

case "$case_name" in
opens_ticks_and_ends_on_sigterm)
  start_saver
  xdotool search --name '^Orinthal$' >/dev/null || fail "no window titled Orinthal"
  more_ticks 5
  kill -TERM "$saver_pid"
  finish
  expect_lifecycle 1024x768 signal
  ;;
small_move_stays_large_move_closes)
  xdotool mousemove 200 200
  start_saver
  xdotool mousemove 202 202  # 2 + 2 = 4 pixels: keeps running
  more_ticks 3
  running || fail "closed on a move of 4 pixels"
  xdotool mousemove 203 202  # 3 + 2 = 5 pixels: closes
  finish
  expect_lifecycle 1024x768 motion
  ;;
key_closes)
  start_saver
  xdotool key x
  finish
  expect_lifecycle 1024x768 key
  ;;
button_closes)
  xdotool mousemove 300 300
  start_saver
  xdotool click 1
  finish
  expect_lifecycle 1024x768 button
  ;;
window_manager_close)
  start_saver
  window=$(xdotool search --name '^Orinthal$') || fail "no window titled Orinthal"
  "$helper" delete "$window"
  finish
  expect_lifecycle 1024x768 window-manager
  ;;
repeated_signals)
  start_saver
  kill -TERM "$saver_pid"; kill -INT "$saver_pid" 2>/dev/null; kill -TERM "$saver_pid" 2>/dev/null
  finish
  expect_lifecycle 1024x768 signal
  ;;
fullscreen)
  xdotool mousemove 640 512
  start_saver --fullscreen
  xdotool key Escape
  finish
  expect_lifecycle 1280x1024 key
  ;;
window_id_draws_into_foreign_window)
  start_helper_window 320x240
  start_saver --window-id "$helper_window"
  more_ticks 3
  expect_painted "$helper_window"
  # Input is not ours to act on in another program's window.
  xdotool mousemove 710 610 mousemove 900 800 key x click 1
  more_ticks 3
  running || fail "closed on input in --window-id mode"
  kill -TERM "$saver_pid"
  finish
  expect_lifecycle 320x240 signal
  ;;
window_id_ends_with_its_window)
  start_helper_window 160x120
  start_saver -window-id "$helper_window"
  kill -TERM "$helper_pid"
  wait "$helper_pid" 2>/dev/null
  helper_pid=
  finish
  expect_lifecycle 160x120 destroyed
  ;;
root_ignores_input)
  start_saver --root
  xdotool mousemove 10 10 mousemove 1000 900 key x click 1
  more_ticks 3
  running || fail "closed on input in --root mode"
  kill -INT "$saver_pid"
  finish
  expect_lifecycle 1280x1024 signal
  ;;
xscreensaver_window)
  start_helper_window 200x150
  XSCREENSAVER_WINDOW=$helper_window start_saver -root
  more_ticks 3
  expect_painted "$helper_window"
  kill -TERM "$saver_pid"
  finish
  expect_lifecycle 200x150 signal
  ;;
bad_window_id)
  saver --window-id 0x1ffffff0 2>"$work/stderr"
  [[ $? -eq 2 ]] || fail "a missing window should exit with 2"
  grep -q 'there is no window 0x1ffffff0' "$work/stderr" || fail "no clear message for a missing window"
  XSCREENSAVER_WINDOW=nonsense saver --root 2>"$work/stderr"
  [[ $? -eq 2 ]] || fail "a malformed XSCREENSAVER_WINDOW should exit with 2"
  saver --window-id 0xnope 2>"$work/stderr"
  [[ $? -eq 2 ]] || fail "a malformed window id should exit with 2"
  [[ $(head -n 1 "$work/stderr") == 'orinthal: --window-id: "0xnope" is not a window id (hex 0x... or decimal)' ]] ||
    fail "unexpected first line: $(head -n 1 "$work/stderr")"
  grep -q '^usage: orinthal' "$work/stderr" || fail "no usage after the error"
  [[ ! -s "$ORINTHAL_TRACE" ]] || fail "a refused start must not begin the lifecycle"
  ;;
snapshot)
  # Headless: no X server needed.
  env -u DISPLAY LD_PRELOAD="$preload" "$saver" --snapshot "$work/shot.png" --size 320x200 --frames 4 --seed 7 2>"$work/stderr" ||
    fail "snapshot failed"
  [[ "$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "not a PNG"
  # IHDR: width and height, big-endian, at bytes 16 to 23.
  [[ "$(od -An -j16 -N8 -tx1 "$work/shot.png" | tr -d ' \n')" == 00000140000000c8 ]] || fail "not 320x200"
  expected=$(printf '%s\n' "create 320x200" load-settings create-gl-context init-scene ticks \
    shutdown-scene destroy-gl-context "exit 0")
  [[ "$(lifecycle)" == "$expected" ]] || fail "snapshot lifecycle: $(lifecycle)"
  [[ $(ticks) -eq 4 ]] || fail "expected 4 frames"
  env -u DISPLAY LD_PRELOAD="$preload" "$saver" --snapshot /nonexistent-folder/shot.png --size 8x8 2>"$work/stderr"
  [[ $? -eq 1 ]] || fail "an unwritable snapshot should exit with 1"
  grep -q '^orinthal: /nonexistent-folder/shot.png: ' "$work/stderr" || fail "no clear message for the unwritable file"
  ;;
*)
  fail "unknown case"
  ;;
esac
echo "ok: $case_name"
