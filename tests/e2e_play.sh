#!/usr/bin/env bash
# The real game under Xvfb, driven by xdotool: turning and thrusting move the ship (two
# screenshots differ where it was and where it now is), Q adds an enemy, P pauses and a drag
# with the left button held moves the window, and Escape quits with status 0. The game's own
# trace (ORBITRANTS_TRACE, the replay tool's columns) says where the ship is; xwd takes the
# screenshots. Usage: e2e_play.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
game=$build/src/game/orbitrants
[ -x "$game" ] || { echo "FAIL: $game not built"; exit 1; }
source "$(dirname "$0")/xvfb.sh"
command -v xwd >/dev/null || { echo "SKIP: xwd is not installed (scripts/deps.sh installs it)"; exit 0; }
start_xvfb

work=$(mktemp -d)
e2e_cleanup_play() { e2e_cleanup; rm -rf "$work"; }
trap e2e_cleanup_play EXIT

# The last trace row's value in column $1 (pass=1, ship_x=2, ship_y=3, heading=7,
# enemies=15, paused=17).
column() { tail -n 1 "$trace" | cut -d, -f"$1"; }
rows() { [ -f "$trace" ] && wc -l <"$trace" || echo 0; }
# Waits (up to $2 seconds) until the trace has passed pass $1.
wait_pass() {
    for _ in $(seq $(($2 * 20))); do
        [ "$(rows)" -gt $(($1 + 1)) ] && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game exited: $(cat "$err")"
        sleep 0.05
    done
    fail "the game did not reach pass $1"
}
# Waits (up to 5 seconds) until column $1 of the last row satisfies the awk test $2 (on v).
wait_column() {
    for _ in $(seq 100); do
        column "$1" | awk "{ v = \$1; exit !($2) }" && return 0
        sleep 0.05
    done
    fail "column $1 never satisfied $2 (last row: $(tail -n 1 "$trace"))"
}
# Number of pixels within $4 of ($2, $3) that differ between the xwd files $1 and $5.
changed_near() {
    local header_size ncolors bpl
    read -r header_size ncolors bpl < <(od -A n -t u1 -N 100 "$1" | tr -s ' \n' ' ' | awk '{
        split($0, b, " ")
        hs = ((b[1] * 256 + b[2]) * 256 + b[3]) * 256 + b[4]
        bpl = ((b[49] * 256 + b[50]) * 256 + b[51]) * 256 + b[52]
        nc = ((b[77] * 256 + b[78]) * 256 + b[79]) * 256 + b[80]
        print hs, nc, bpl }')
    local start=$((header_size + ncolors * 12))
    { cmp -l "$1" "$5" 2>/dev/null || true; } | awk -v s="$start" -v bpl="$bpl" -v cx="$2" -v cy="$3" \
        -v r="$4" '{ p = $1 - 1 - s; if (p < 0) next
                     y = int(p / bpl); x = int((p % bpl) / 4)
                     if (x - cx <= r && cx - x <= r && y - cy <= r && cy - y <= r) seen[x "," y] = 1 }
                   END { n = 0; for (k in seen) n++; print n }'
}

# One session of play from start to Escape; $1 names the desktop in the report.
play_once() {
    err=$build/e2e_play.stderr
    trace=$work/trace-$1.csv
    start_game ORBITRANTS_TRACE="$trace"
    # The game's own window: titled Orbitrants and owned by the game's process.
    wait_for 20 has_window "$game_pid" Orbitrants || fail "the game opened no window: $(cat "$err")"
    wid=$(window_of "$game_pid" Orbitrants)
    wait_pass 20 60
    xdotool windowfocus --sync "$wid"
    sleep 0.3

    # Before: the ship rests at the window centre.
    [ "$(column 2),$(column 3)" = "640,250" ] || fail "the ship did not start at the centre"
    xwd -silent -id "$wid" -out "$work/before.xwd"

    # Turn to face up the screen, clear of the bumpers: each motion away from the centre turns
    # the ship by at most ten degrees in the next frame.
    for _ in $(seq 40); do
        [ "$(column 7)" -ge 180 ] && break
        xdotool mousemove_relative -- 40 0
        sleep 0.1
    done
    heading=$(column 7)
    [ "$heading" -ge 180 ] || fail "the ship turned only to $heading degrees"
    # Thrust for sixty frames, then let the ship coast to rest (its speed falls to 3 % per
    # hundred frames). Frames, not seconds: a loaded machine may not keep 60 a second.
    xdotool mousedown 1
    thrust_from=$(column 1)
    wait_pass $((thrust_from + 60)) 60
    xdotool mouseup 1
    wait_pass $((thrust_from + 60 + 150)) 60
    x=$(column 2)
    y=$(column 3)
    awk -v x="$x" -v y="$y" 'BEGIN { exit !((x - 640) ^ 2 + (y - 250) ^ 2 > 40 ^ 2) }' ||
        fail "the ship did not move away from the centre: ($x, $y)"
    xwd -silent -id "$wid" -out "$work/after.xwd"
    xi=${x%.*}
    yi=${y%.*}
    was=$(changed_near "$work/before.xwd" 640 250 20 "$work/after.xwd")
    now=$(changed_near "$work/before.xwd" "$xi" "$yi" 20 "$work/after.xwd")
    [ "$was" -gt 200 ] || fail "the screen did not change where the ship was ($was pixels)"
    [ "$now" -gt 200 ] || fail "the screen did not change where the ship is now, ($xi, $yi) ($now pixels)"

    # Q adds an enemy.
    enemies=$(column 15)
    xdotool key q
    wait_column 15 "v >= $((enemies + 1))"

    # P pauses; with the button held the window's centre follows the pointer.
    xdotool key p
    wait_column 17 "v == 1"
    # A paused game sleeps between messages instead of spinning a core.
    ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
    paused_from=$(ticks)
    sleep 2
    paused_ticks=$(($(ticks) - paused_from))
    [ "$paused_ticks" -le $(($(getconf CLK_TCK) / 10)) ] ||
        fail "paused, the game used $paused_ticks clock ticks in two seconds"
    before=$(xwininfo -id "$wid" | sed -n 's/^ *Absolute upper-left X: *//p')
    xdotool mousemove 900 500
    xdotool mousedown 1
    # Equal steps: after each the window's centre is under the pointer, so the pointer's client
    # position repeats while its screen position moves on; no step may be lost.
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((900 + step * 15)) 500
        dragged() { client_geometry "$wid" | grep -q "^$((900 + step * 15 - 640)) $((500 - 250)) "; }
        wait_for 10 dragged || fail "drag step $step left the window at" \
            "$(client_geometry "$wid") (from x $before), not under the pointer"
    done
    xdotool mouseup 1
    xdotool key p
    wait_column 17 "v == 0"

    xdotool key Escape
    wait_game_gone "Escape did not end the game"
    status=0
    wait "$game_pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status: $(cat "$err")"
    echo "PASS ($1): turned to $heading degrees, flew to ($x, $y) ($was and $now pixels" \
        "changed), Q added an enemy, P paused ($paused_ticks ticks in 2 s) and the drag moved the" \
        "window, Escape quit"
}

play_once bare
if command -v openbox >/dev/null; then
    start_openbox
    play_once openbox
fi
