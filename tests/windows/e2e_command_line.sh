#!/usr/bin/env bash
# Command lines the module cannot act on end with -1 (255 to the shell) at
# once, without a window.
#   e2e_command_line.sh <orinthal.scr>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_common.sh"
scr=$1

for arguments in "/x" "-q" "/a" "/a 0" "/p 0" "/p" "/l 0" "/p 987654" "/p 99999999999999999999" "/p 4294967297"; do
  # shellcheck disable=SC2086
  rc=$(timeout 60 wine "$scr" $arguments; echo $?)
  echo "$arguments -> $rc"
  [[ "$rc" == 255 ]] || fail "'$arguments' ended with $rc, not -1"
done
has_window "Screen Saver" && fail "a saver window was left"
has_window "Orinthal" && fail "a dialog was left"
echo "PASS"
