#!/usr/bin/env bash
# Soak run of the real program, headless: soak.sh ORINTHAL FRAMES [WxH]
#
# Settings: Number 1000, text on, CycleLength 0, so every frame ends with a
# rebuild of the three galaxies and a change of picture; the other settings
# are the defaults. Checks that the run ends through the clean path with
# status 0 (a sanitizer error or a leak found at exit makes it non-zero),
# that every frame was drawn, and that the resident set stays flat after the
# warm-up: it samples VmRSS together with the frame the trace shows, and
# prints the first sample after the warm-up, the last one and the peak.
#
# SOAK_PRELOAD, when set, is preloaded into the program: the build's
# keep_gl_driver_preload module, which keeps the GL driver mapped so that
# LeakSanitizer can name what the driver keeps (see lsan.supp).
#
# Under AddressSanitizer the freed-memory quarantine is held to 16 MB (unless
# ASAN_OPTIONS says otherwise): a rebuild every frame frees star arrays
# steadily, and the default 256 MB quarantine would read as growth for the
# first few thousand frames.
set -uo pipefail
saver=$1
frames=$2
size=${3:-128x96}
allowed_growth_kb=${SOAK_ALLOWED_GROWTH_KB:-4096}

here=$(cd "$(dirname "$0")" && pwd)
source "$here/settings_file.sh"
work=$(mktemp -d)
pid=
cleanup() {
  [[ -n "$pid" ]] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME="$work/config"
write_settings "$XDG_CONFIG_HOME/orinthal/settings" 1000 1 0
export ORINTHAL_TRACE="$work/trace"
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
preload=()
if [[ -n "${SOAK_PRELOAD:-}" ]]; then
  # The preloaded module comes before the ASan runtime in the library list.
  preload=(env "LD_PRELOAD=$SOAK_PRELOAD")
  export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
fi

warm_up=$((frames / 5))
((warm_up < 200)) && warm_up=200
((warm_up > 2000)) && warm_up=2000

start_ns=$(date +%s%N)
"${preload[@]}" "$saver" --snapshot "$work/last.png" --frames "$frames" --size "$size" --seed 1 2>"$work/stderr" &
pid=$!
# Samples: "frame rss_kB hwm_kB", taken while frames are being drawn.
while kill -0 "$pid" 2>/dev/null; do
  last=$(tail -n 1 "$ORINTHAL_TRACE" 2>/dev/null)
  if [[ "$last" =~ ^tick\ ([0-9]+)$ ]]; then
    frame=${BASH_REMATCH[1]}
    read -r rss hwm < <(awk '/^VmRSS/ {r = $2} /^VmHWM/ {h = $2} END {print r, h}' "/proc/$pid/status" 2>/dev/null)
    [[ -n "$rss" ]] && echo "$frame $rss $hwm" >>"$work/samples"
  fi
  sleep 0.2
done
wait "$pid"
status=$?
pid=
elapsed=$(( ($(date +%s%N) - start_ns) / 1000000000 ))

fail() {
  echo "FAIL: $*" >&2
  tail -n 30 "$work/stderr" >&2
  exit 1
}
[[ $status -eq 0 ]] || fail "exit status $status"
grep -q 'Sanitizer' "$work/stderr" && fail "sanitizer report"
drawn=$(grep -c '^tick ' "$ORINTHAL_TRACE")
[[ "$drawn" -eq "$frames" ]] || fail "$drawn frames drawn, expected $frames"
[[ "$(tail -n 1 "$ORINTHAL_TRACE")" == "exit 0" ]] || fail "did not end through the clean path"

read -r first_frame first_rss _ < <(awk -v w="$warm_up" '$1 >= w {print; exit}' "$work/samples")
read -r last_frame last_rss peak < <(tail -n 1 "$work/samples")
if [[ -z "${first_frame:-}" || "$first_frame" == "$last_frame" ]]; then
  echo "soak: $frames frames in ${elapsed}s; too few samples after frame $warm_up to judge the RSS"
  exit 0
fi
growth=$((last_rss - first_rss))
echo "soak: $frames frames at $size in ${elapsed}s, status 0, no sanitizer report"
echo "soak: RSS ${first_rss} kB at frame $first_frame, ${last_rss} kB at frame $last_frame" \
     "(growth ${growth} kB), peak ${peak} kB, $(wc -l <"$work/samples") samples"
((growth <= allowed_growth_kb)) || fail "RSS grew by $growth kB after the warm-up (allowed $allowed_growth_kb kB)"
