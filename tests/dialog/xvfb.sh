# Sourced by the X tests: starts a private Xvfb on a display it picks itself
# and stops it (with everything else the test started) on exit.
# Sets DISPLAY and XVFB_PID. Extra arguments go to Xvfb.

start_xvfb() {
    local ready
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "$@" 3>"$ready" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [[ -s $ready ]] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [[ ! -s $ready ]]; then
        echo "FAIL: Xvfb did not start" >&2
        rm -f "$ready"
        exit 1
    fi
    export DISPLAY=:$(head -n 1 "$ready")
    rm -f "$ready"
}

stop_xvfb() {
    if [[ -n ${XVFB_PID:-} ]]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}
