#!/usr/bin/env bash
# Runs a command against a private Xvfb server of its own and exits with the
# command's status: with-xvfb.sh COMMAND [ARGUMENTS...]
# Xvfb picks a free display number itself (-displayfd), so parallel runs
# never collide.
set -uo pipefail

workdir=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$workdir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!

# Xvfb writes the display number once it accepts connections.
for _ in $(seq 1 200); do
  if grep -q '^[0-9][0-9]*$' "$workdir/display" 2>/dev/null; then
    break
  fi
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "with-xvfb: Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
if ! grep -q '^[0-9][0-9]*$' "$workdir/display" 2>/dev/null; then
  echo "with-xvfb: Xvfb gave no display number within 10 s" >&2
  exit 1
fi

export DISPLAY=":$(head -n 1 "$workdir/display")"
"$@"
exit $?
