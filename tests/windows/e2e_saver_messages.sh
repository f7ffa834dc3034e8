#!/usr/bin/env bash
# The full-screen saver's answers to system messages: it keeps its title,
# swallows the system commands that would start another saver or switch
# windows, and closes when its application is deactivated or power resumes.
#   e2e_saver_messages.sh <orinthal.scr> <saver_poke.exe>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_common.sh"
scr=$1
poke=$2

delete_settings

start_saver() {
  start_bg saver wine "$scr" /s
  wait_window "Screen Saver" 60 >/dev/null || fail "no full-screen window"
  sleep 1
}

step "WM_SETTEXT and the swallowed system commands keep it running"
start_saver
wine "$poke" settext || fail "WM_SETTEXT"
wine "$poke" syscommands || fail "system commands"
sleep 1
has_window "Screen Saver" || fail "the saver closed"
[[ ! -s "$work/saver.rc" ]] || fail "the saver ended"

for kind in activateapp power powerbroadcast; do
  step "$kind closes it with 0"
  wine "$poke" "$kind" || fail "$kind"
  rc=$(wait_rc saver 30) || exit 1
  [[ "$rc" == 0 ]] || fail "exit code $rc after $kind"
  [[ "$kind" == powerbroadcast ]] || start_saver
done
echo "PASS"
