# Helpers for the end-to-end tests of orinthal.scr under Wine in Xvfb. Sourced
# by the e2e_*.sh scripts, which run inside wine_session.sh (DISPLAY and
# WINEPREFIX are set).
set -uo pipefail

work=$(mktemp -d /tmp/orinthal-e2e.XXXXXX)

# Each script starts with a Wine server of its own: one that is still up from
# the previous test keeps that test's input state (a key it thinks is down).
wineserver -w
started_pids=()

cleanup_e2e() {
  # Only what this script started, by id: a program left running would keep
  # the Wine server, and so the next test, waiting.
  local file
  if declare -F e2e_before_cleanup >/dev/null; then
    e2e_before_cleanup
  fi
  for file in "$work"/*.pid; do
    [[ -f "$file" ]] && kill "$(cat "$file" 2>/dev/null)" 2>/dev/null
  done
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup_e2e EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

step() {
  echo "--- [${SECONDS}s] $*"
}

# start_bg <name> <command...>: runs a command in the background; its exit
# code lands in $work/<name>.rc.
start_bg() {
  local name=$1
  shift
  rm -f "$work/$name.rc"
  (
    "$@" >"$work/$name.out" 2>&1 &
    echo $! >"$work/$name.pid"
    wait $!
    echo $? >"$work/$name.rc"
    rm -f "$work/$name.pid"
  ) &
  started_pids+=($!)
}

# wait_rc <name> <seconds>: prints the exit code, or fails on time-out.
wait_rc() {
  local name=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    if [[ -s "$work/$name.rc" ]]; then
      cat "$work/$name.rc"
      return 0
    fi
    sleep 0.1
  done
  echo "FAIL: $name did not end within ${limit}s; output:" >&2
  cat "$work/$name.out" >&2
  return 1
}

# wait_window <title> <seconds>: prints the X window id of a window with
# exactly that title.
wait_window() {
  local title=$1 limit=$2 id
  for _ in $(seq $((limit * 5))); do
    id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1)
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# wait_no_window <title> <seconds>: succeeds once no window has that title.
wait_no_window() {
  local title=$1 limit=$2
  for _ in $(seq $((limit * 5))); do
    xdotool search --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

has_window() {
  xdotool search --name "^$1\$" >/dev/null 2>&1
}

# screenshot <file> [<geometry WxH+X+Y>]
screenshot() {
  local file=$1 geometry=${2:-}
  import -window root "$work/full.png" || return 1
  if [[ -n "$geometry" ]]; then
    convert "$work/full.png" -crop "$geometry" +repage "$file"
  else
    cp "$work/full.png" "$file"
  fi
}

# mean_brightness <png>: 0 (black) to 1 (white).
mean_brightness() {
  convert "$1" -colorspace Gray -format '%[fx:mean]' info:
}

# changed_fraction <png> <png>: share of pixels that differ.
changed_fraction() {
  local count total
  count=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
  total=$(identify -format '%[fx:w*h]' "$1")
  awk -v c="$count" -v t="$total" 'BEGIN { printf "%.4f", c / t }'
}

# at_least <value> <minimum>: numeric comparison of decimals.
at_least() {
  awk -v v="$1" -v m="$2" 'BEGIN { exit !(v >= m) }'
}

# reg_section <key path as in user.reg>: the values of one key in the saved
# registry file, one per line and sorted. The server must have written it
# out first (wineserver -w once no Wine process runs).
reg_section() {
  awk -v header="[$1]" '
    index($0, header) == 1 { inside = 1; next }
    inside && /^\[/ { inside = 0 }
    inside && /^"/ { print }
  ' "$WINEPREFIX/user.reg" | sort
}

flush_registry() {
  local start=$SECONDS
  wineserver -w
  echo "    registry written out after $((SECONDS - start))s"
}

# import_reg <text>: imports REGEDIT4 text.
import_reg() {
  printf 'REGEDIT4\n\n%s\n' "$1" >"$work/import.reg"
  wine regedit /S "$(winepath -w "$work/import.reg")" >/dev/null 2>&1
}

delete_settings() {
  wine reg delete 'HKCU\Software\Orinthal' /f >/dev/null 2>&1
  return 0
}
