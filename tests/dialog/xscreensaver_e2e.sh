#!/usr/bin/env bash
# The real xscreensaver daemon runs Orinthal: under a private Xvfb, with a
# scratch HOME whose ~/.xscreensaver lists only Orinthal. xscreensaver does
# not launch hacks as root, so the daemon and xscreensaver-command run as an
# unprivileged user (created when missing).
# Usage: xscreensaver_e2e.sh ORINTHAL
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
user=orinthal-e2e

fail() {
    echo "FAIL: $*" >&2
    for log in xscreensaver.log trace; do
        [[ -f $work/$log ]] && { echo "--- $log (tail):" >&2; tail -n 30 "$work/$log" >&2; }
    done
    exit 1
}

if [[ $(id -u) -eq 0 ]]; then
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" 2>/dev/null ||
            id "$user" >/dev/null 2>&1 || fail "cannot create the user $user"
    fi
    as_user() { runuser -u "$user" -- "$@"; }
else
    # Not root: xscreensaver runs hacks for the current user as it is.
    user=$(id -un)
    as_user() { "$@"; }
fi

work=$(mktemp -d)
daemon_pid=
cleanup() {
    if [[ -n $daemon_pid ]]; then
        as_user env DISPLAY="$DISPLAY" HOME="$work/home" xscreensaver-command -exit >/dev/null 2>&1 || true
        sleep 0.5
        kill "$daemon_pid" 2>/dev/null || true
        wait "$daemon_pid" 2>/dev/null || true
    fi
    # Anything of ours still running as the test user (by process id only).
    for pid in $(pgrep -u "$user" -f "$work/" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null || true; done
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# The build tree may not be readable by the test user: run a copy.
chmod 755 "$work"
install -m 755 "$program" "$work/orinthal"
mkdir -p "$work/home"
cat >"$work/home/.xscreensaver" <<RESOURCES
mode:		one
selected:	0
timeout:	0:30:00
cycle:		0:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
grabDesktopImages: False
programs:	GL: $work/orinthal --root \\n\\
RESOURCES
: >"$work/trace"
: >"$work/xscreensaver.log"
chown -R "$user" "$work/home" "$work/trace" "$work/xscreensaver.log" 2>/dev/null || true

start_xvfb -ac  # the test user may connect

environment=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" DISPLAY="$DISPLAY"
    ORINTHAL_TRACE="$work/trace" XDG_CONFIG_HOME="$work/home/.config"
    LSAN_OPTIONS="${LSAN_OPTIONS:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}")
command() { as_user "${environment[@]}" xscreensaver-command "$@"; }

(cd "$work/home" && exec runuser -u "$user" -- "${environment[@]}" xscreensaver --no-splash --verbose \
    --log "$work/xscreensaver.log") &
daemon_pid=$!

for _ in $(seq 100); do
    command -time >/dev/null 2>&1 && break
    kill -0 "$daemon_pid" 2>/dev/null || fail "the daemon did not start"
    sleep 0.2
done
command -time >/dev/null 2>&1 || fail "the daemon does not answer"

# --- activate: Orinthal draws into xscreensaver's window
command -activate >/dev/null || fail "-activate was refused"
hack=
for _ in $(seq 100); do
    hack=$(pgrep -u "$user" -f "^$work/orinthal --root" | head -n 1) && [[ -n $hack ]] && break
    sleep 0.2
done
[[ -n $hack ]] || fail "xscreensaver did not start orinthal"
for _ in $(seq 150); do
    grep -q '^tick 20$' "$work/trace" && break
    kill -0 "$hack" 2>/dev/null || fail "orinthal ended early"
    sleep 0.2
done
grep -q '^tick 20$' "$work/trace" || fail "orinthal does not draw frames"
grep -q "XSCREENSAVER_WINDOW\|create " "$work/trace" || true

xwd -root -silent -display "$DISPLAY" >"$work/screen.xwd" || fail "no screenshot"
brightness=$(convert "xwd:$work/screen.xwd" -colorspace Gray -format '%[fx:mean]' info:)
lit=$(convert "xwd:$work/screen.xwd" -colorspace Gray -threshold 5% -format '%[fx:mean]' info:)
echo "screen: mean brightness $brightness, lit fraction $lit"
awk -v lit="$lit" 'BEGIN { exit !(lit > 0.05) }' || fail "the screen is black (lit fraction $lit)"

# --- deactivate: a clean end on SIGTERM
command -deactivate >/dev/null || fail "-deactivate was refused"
for _ in $(seq 100); do
    kill -0 "$hack" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$hack" 2>/dev/null && fail "orinthal still runs after -deactivate"
pgrep -u "$user" -f "^$work/orinthal" >/dev/null && fail "a leftover orinthal process"
grep -q '^close signal$' "$work/trace" || fail "orinthal did not close on the signal"
[[ $(tail -n 1 "$work/trace") == "exit 0" ]] || fail "orinthal did not end with exit 0"
find "$work" -name 'core*' | grep -q . && fail "a core file was left"
grep -Eiq 'orinthal.*(abnormal|crash|signal [0-9]|core)' "$work/xscreensaver.log" && fail "xscreensaver saw a bad exit"
echo PASS
