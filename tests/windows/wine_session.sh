#!/usr/bin/env bash
# One Wine session for the Windows test suite: an Xvfb display and a fresh
# Wine prefix under /tmp, shared by every test of a ctest run.
#
#   wine_session.sh start <state dir>         start Xvfb, create and set up the prefix
#   wine_session.sh stop <state dir>          stop Wine and Xvfb, delete the prefix
#   wine_session.sh run <state dir> <cmd...>  run a command inside the session
#
# The state dir holds "env" (DISPLAY and WINEPREFIX) and the Xvfb process id.
set -uo pipefail

command=${1:?usage: wine_session.sh start|stop|run <state dir> ...}
state=${2:?state dir missing}
shift 2

# The settings every test runs with: quiet but for loader errors, and no
# .NET or HTML engine installers on first start.
export WINEDEBUG=-all,err+module
export WINEDLLOVERRIDES="mscoree,mshtml="

load_env() {
  if [[ ! -f "$state/env" ]]; then
    echo "wine_session: no session in $state (the setup test did not run)" >&2
    exit 2
  fi
  # shellcheck disable=SC1091
  source "$state/env"
  export DISPLAY WINEPREFIX
}

# Ends the Xvfb this session started, and only that one.
stop_xvfb() {
  [[ -f "$state/xvfb.pid" ]] || return 0
  local pid
  pid=$(cat "$state/xvfb.pid")
  if [[ -n "$pid" && -r /proc/$pid/cmdline ]] && tr '\0' ' ' </proc/"$pid"/cmdline | grep -q '^Xvfb '; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do [[ -d /proc/$pid ]] || break; sleep 0.1; done
  fi
  rm -f "$state/xvfb.pid"
}

stop_session() {
  if [[ -f "$state/env" ]]; then
    # shellcheck disable=SC1091
    source "$state/env"
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
      WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null
      WINEPREFIX=$WINEPREFIX wineserver -w 2>/dev/null
      case "$WINEPREFIX" in /tmp/orinthal-wine.*) rm -rf "$WINEPREFIX" ;; esac
    fi
  fi
  stop_xvfb
  rm -f "$state/env"
}

start_session() {
  mkdir -p "$state"
  stop_session  # whatever an interrupted run left behind

  # A display number nobody uses: Xvfb picks it and reports it.
  : >"$state/display"
  setsid Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp \
    5>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [[ -s "$state/display" ]] && break; sleep 0.1; done
  local display
  display=$(tr -dc '0-9' <"$state/display")
  if [[ -z "$display" ]]; then
    echo "wine_session: Xvfb did not start" >&2
    cat "$state/xvfb.log" >&2
    stop_xvfb
    return 1
  fi

  local prefix
  prefix=$(mktemp -d /tmp/orinthal-wine.XXXXXX)
  printf 'DISPLAY=:%s\nWINEPREFIX=%s\n' "$display" "$prefix" >"$state/env"
  load_env

  if ! wineboot -i >"$state/wineboot.log" 2>&1; then
    echo "wine_session: wineboot failed" >&2
    cat "$state/wineboot.log" >&2
    stop_session
    return 1
  fi
  # Without a window manager Wine must not wait for one (DestroyWindow stalls
  # otherwise), and the flying text's face maps to the installed Comic Neue.
  cat >"$state/session.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"
REG
  if ! wine regedit /S "$(winepath -w "$state/session.reg")" >>"$state/wineboot.log" 2>&1; then
    echo "wine_session: registry set-up failed" >&2
    stop_session
    return 1
  fi
  wineserver -w
  echo "wine_session: display :$display, prefix $prefix"
}

case "$command" in
  start) start_session ;;
  stop) stop_session ;;
  run)
    load_env
    exec "$@"
    ;;
  *)
    echo "wine_session: unknown command $command" >&2
    exit 2
    ;;
esac
