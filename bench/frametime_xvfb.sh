#!/usr/bin/env bash
# Frame cost of the real game under Xvfb (Mesa's llvmpipe): twenty seconds of scripted flying
# (xdotool turns the ship and holds the thrust button) at 10 and at 100 enemies (Q adds one),
# the present times logged by the game itself (ORBITRANTS_FRAMES). Prints, per session, the
# median present interval, its 99th percentile and the share of intervals over 20 ms, with the
# load average. Usage: frametime_xvfb.sh BUILD_DIR [SECONDS] [ENEMY COUNTS...]
# Environment passes through, e.g. LP_NUM_THREADS=1 or GALLIUM_NOOP=1. FRAMETIME_PERF=PREFIX
# records the game with perf during each flight into PREFIX-ENEMIES.data.
set -euo pipefail
build=${1:?build directory}
seconds=${2:-20}
shift $(($# >= 2 ? 2 : $#))
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10 100)
game=$build/src/game/orbitrants
[ -x "$game" ] || { echo "FAIL: $game not built"; exit 1; }
source "$(dirname "$0")/../tests/xvfb.sh"
start_xvfb

work=$(mktemp -d)
frametime_cleanup() { e2e_cleanup; rm -rf "$work"; }
trap frametime_cleanup EXIT
err=$work/stderr

rows() { [ -f "$trace" ] && wc -l <"$trace" || echo 0; }
enemies() { tail -n 1 "$trace" | cut -d, -f15; }
# Waits up to $1 seconds for the trace to have more than $2 rows.
wait_rows() {
    for _ in $(seq $(($1 * 20))); do
        [ "$(rows)" -gt "$2" ] && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game exited: $(cat "$err")"
        sleep 0.05
    done
    fail "the game did not reach $2 passes"
}

# One xdotool process for the whole flight: thrust held, a turn every tenth of a second.
fly() {
    local steps=$((seconds * 10)) args=(mousedown 1)
    for _ in $(seq "$steps"); do args+=(mousemove_relative -- 25 0 sleep 0.1); done
    args+=(mouseup 1)
    xdotool "${args[@]}"
}

# Prints the figures for the present times in rows $2..$3 (1-based, after the header) of $1.
figures() {
    sed -n "$(($2 + 1)),$(($3 + 1))p" "$1" | awk 'NR > 1 { print ($1 - prev) / 1000 } { prev = $1 }' |
        sort -g | awk '{ v[NR] = $1; if ($1 > 20) over++ }
        END { n = NR; if (n == 0) { print "no intervals"; exit 1 }
              p99 = int(n * 0.99 + 0.999999); if (p99 > n) p99 = n
              med = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
              printf "%d intervals: median %.2f ms, p99 %.2f ms, max %.2f ms, over 20 ms %.2f %%\n",
                     n, med, v[p99], v[n], 100 * over / n }'
}

session() {
    local want=$1
    trace=$work/trace-$want.csv
    local frames=$work/frames-$want.csv
    start_game ORBITRANTS_TRACE="$trace" ORBITRANTS_FRAMES="$frames"
    local wid=""
    for _ in $(seq 200); do
        wid=$(window_of "$game_pid" Orbitrants)
        [ -n "$wid" ] && break
        kill -0 "$game_pid" 2>/dev/null || fail "the game exited early: $(cat "$err")"
        sleep 0.1
    done
    [ -n "$wid" ] || fail "no window captioned Orbitrants appeared"
    wait_rows 60 20
    xdotool windowfocus --sync "$wid"
    local have
    have=$(enemies)
    [ "$want" -le "$have" ] || xdotool key --delay 20 $(yes q | head -n $((want - have)))
    for _ in $(seq 100); do [ "$(enemies)" -ge "$want" ] && break; sleep 0.05; done
    sleep 1  # let the new enemies' first frames pass
    local from
    from=$(($(rows) - 1))
    local load
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    local perf_pid=""
    if [ -n "${FRAMETIME_PERF:-}" ]; then
        perf record -q -g -p "$game_pid" -o "$FRAMETIME_PERF-$want.data" >/dev/null 2>&1 &
        perf_pid=$!
    fi
    fly
    [ -z "$perf_pid" ] || { kill -INT "$perf_pid"; wait "$perf_pid" || true; }
    local to=$(($(rows) - 1))
    local range
    range=$(sed -n "$((from + 1)),$((to + 1))p" "$trace" | cut -d, -f15 | sort -n | sed -n '1p;$p' |
        paste -sd- -)
    xdotool key Escape
    wait_game_gone "Escape did not end the game"
    wait "$game_pid" || fail "the game failed: $(cat "$err")"
    echo "$want enemies ($range during the flight), passes $from-$to, load $load:" \
        "$(figures "$frames" "$from" "$to")"
}

echo "frametime_xvfb: ${seconds} s of flying, LP_NUM_THREADS=${LP_NUM_THREADS:-default}," \
    "GALLIUM_NOOP=${GALLIUM_NOOP:-0}, $(nproc) cores"
for n in "${counts[@]}"; do session "$n"; done
