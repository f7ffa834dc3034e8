#!/usr/bin/env bash
# orinthal.scr /c and with no argument: the configuration dialog shows; Return
# saves all ten values with their registry types and lengths, Escape saves
# nothing, values out of range are saved at the nearer end of their slider,
# and the edit box keeps at most 69 characters.
#   e2e_dialog.sh <orinthal.scr>
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_common.sh"
scr=$1
key='Software\\\\Orinthal'

# run_dialog <name> <keys...> [-- <saver arguments>]: opens the dialog, sends
# the keys and prints the dialog's exit code.
run_dialog() {
  local name=$1
  shift
  local keys=()
  while [[ $# -gt 0 && "$1" != "--" ]]; do keys+=("$1"); shift; done
  [[ $# -gt 0 ]] && shift
  start_bg "$name" wine "$scr" "$@"
  wait_window "Orinthal" 60 >/dev/null || { cat "$work/$name.out" >&2; fail "$name: no dialog"; }
  sleep 1
  for k in "${keys[@]}"; do
    if [[ "$k" == type:* ]]; then
      xdotool type --delay 5 "${k#type:}"
    else
      xdotool key "$k"
    fi
    sleep 0.2
  done
  wait_rc "$name" 30
}

expect_values() {  # <expected lines>
  flush_registry
  local got
  got=$(reg_section "$key")
  if [[ "$got" != "$1" ]]; then
    echo "expected:" >&2; echo "$1" >&2
    echo "got:" >&2; echo "$got" >&2
    fail "stored settings differ"
  fi
}

# The text's 70 bytes as the registry file shows them: its last zero is the
# string's terminator and is not written, the zeros before it are.
zeros() {  # <count>
  local s=""
  for _ in $(seq "$1"); do s+='\0'; done
  printf '%s' "$s"
}

step "Escape saves nothing"
delete_settings
rc=$(run_dialog cancel Escape -- /c) || exit 1
[[ "$rc" == 0 ]] || fail "Escape ended the dialog with $rc"
flush_registry
[[ -z "$(reg_section "$key")" ]] || fail "Escape wrote settings"
grep -q '^\[Software\\\\Orinthal\]' "$WINEPREFIX/user.reg" && fail "Escape created the key"

step "Return saves all ten values, defaults when nothing was stored"
rc=$(run_dialog ok Return -- /c) || exit 1
[[ "$rc" == 1 ]] || fail "Return ended the dialog with $rc"
expect_values "$(sort <<EOF2
"Background"=hex(4):01
"CycleLength"=dword:0000001e
"Number"=dword:000007d0
"RotateSpeed"=dword:00000001
"RotateX"=hex(4):01
"RotateY"=hex(4):01
"RotateZ"=hex(4):01
"Text"="Starry Starry Night$(zeros 50)"
"TextOn"=hex(4):00
"TravelSpeed"=dword:0000000d
EOF2
)"

step "stored values outside the ranges are saved at the nearer end; flags as 1"
import_reg '[HKEY_CURRENT_USER\Software\Orinthal]
"Number"=dword:000001f4
"RotateSpeed"=dword:00000009
"TravelSpeed"=dword:00000002
"CycleLength"=dword:000003e8
"TextOn"=hex(4):02
"Background"=hex(4):00'
rc=$(run_dialog clamp Return -- /C) || exit 1
[[ "$rc" == 1 ]] || fail "Return ended the dialog with $rc"
expect_values "$(sort <<EOF2
"Background"=hex(4):00
"CycleLength"=dword:00000078
"Number"=dword:000003e8
"RotateSpeed"=dword:00000004
"RotateX"=hex(4):01
"RotateY"=hex(4):01
"RotateZ"=hex(4):01
"Text"="Starry Starry Night$(zeros 50)"
"TextOn"=hex(4):01
"TravelSpeed"=dword:0000000a
EOF2
)"

step "no argument opens the dialog; the edit box takes at most 70, saves 69"
# Tab order from OK: CANCEL, the star slider, Background, 3D Text, the text.
long=$(printf 'abcdefghij%.0s' $(seq 8))  # 80 characters
rc=$(run_dialog typed Tab Tab Tab Tab Tab "type:$long" Return --) || exit 1
[[ "$rc" == 1 ]] || fail "Return ended the dialog with $rc"
flush_registry
text=$(reg_section "$key" | grep '^"Text"=')
expected="\"Text\"=\"${long:0:69}\""
[[ "$text" == "$expected" ]] || fail "stored text: $text, expected $expected"

delete_settings
echo "PASS"
