#!/usr/bin/env bash
# SIGTERM at chosen moments of a saver run (run it through with-xvfb.sh):
#   signals.sh ORINTHAL CASE
#
# The program runs under gdb, which stops it at a function of the moment
# wanted and delivers SIGTERM right there with "signal SIGTERM", so the
# signal lands exactly inside start-up, a frame, a rebuild or the shutdown,
# with nothing left to timing. Every case must end with status 0 through
# the clean path: the lifecycle trace shows the closing steps in order.
#
# Cases:
#   startup   inside texture loading, before the first frame: no frame drawn
#   frame     inside the stars of the first frame: that frame completes
#   rebuild   inside the rebuild at the end of the first frame (CycleLength 0)
#   shutdown  one SIGTERM in a frame, then one more inside ShutdownScene and
#             one inside DestroyGLContext: shutdown finishes all the same
set -uo pipefail
saver=$1
case_name=$2

here=$(cd "$(dirname "$0")" && pwd)
source "$here/settings_file.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export ORINTHAL_TRACE="$work/trace"
# LeakSanitizer cannot run under a debugger; the soak checks for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

cycle=30
expected_ticks=1
case "$case_name" in
startup)
  expected_ticks=0
  caller=InitScene
  steps=(-ex 'break TextureLoader::LoadTextureResource' -ex run -ex bt -ex delete -ex 'signal SIGTERM')
  ;;
frame)
  caller=RenderFrame
  steps=(-ex 'break DrawStarSprite' -ex run -ex bt -ex delete -ex 'signal SIGTERM')
  ;;
rebuild)
  cycle=0
  # Start-up fills the three galaxies; the fourth fill is the first
  # galaxy of the rebuild at the end of the first frame.
  caller=RenderFrame
  steps=(-ex 'break GenerateGalaxy' -ex 'ignore 1 3' -ex run -ex bt -ex delete -ex 'signal SIGTERM')
  ;;
shutdown)
  caller=ShutdownScene
  steps=(-ex 'break DrawStarSprite' -ex run -ex delete
         -ex 'break ShutdownScene' -ex 'signal SIGTERM' -ex bt -ex delete
         -ex 'break DestroyGLContext' -ex 'signal SIGTERM' -ex bt -ex delete
         -ex 'signal SIGTERM')
  ;;
*)
  echo "signals.sh: unknown case $case_name" >&2
  exit 2
  ;;
esac
write_settings "$XDG_CONFIG_HOME/orinthal/settings" 1000 1 "$cycle"

timeout 300 gdb -nx -batch -ex 'set pagination off' -ex 'set confirm off' \
  -ex 'handle SIGTERM nostop noprint pass' -ex 'handle SIGPIPE nostop noprint pass' \
  "${steps[@]}" -ex 'printf "exit status %d\n", $_exitcode' \
  --args "$saver" --size 320x240 --seed 7 >"$work/gdb.log" 2>&1

fail() {
  echo "FAIL ($case_name): $*" >&2
  cat "$work/gdb.log" >&2
  echo "--- trace:" >&2
  cat "$ORINTHAL_TRACE" >&2
  exit 1
}
grep -q '^exit status 0$' "$work/gdb.log" || fail "did not exit with status 0"
# The stop was where the case meant it to be.
grep -qE "^#[0-9]+ .*\\b$caller\\b" "$work/gdb.log" || fail "the signal was not delivered inside $caller"
grep -qE 'received signal SIG(SEGV|ABRT|BUS|FPE|ILL)' "$work/gdb.log" && fail "crashed"
ticks=$(grep -c '^tick ' "$ORINTHAL_TRACE")
[[ "$ticks" -eq "$expected_ticks" ]] || fail "$ticks frames drawn, expected $expected_ticks"
expected="create 320x240
load-settings
create-gl-context
init-scene
start-tick
close signal
stop-tick
shutdown-scene
destroy-gl-context
exit 0"
[[ "$(grep -v '^tick ' "$ORINTHAL_TRACE")" == "$expected" ]] || fail "lifecycle steps out of order"
echo "signals ($case_name): exit 0 through the clean path, $ticks frame(s) drawn"
