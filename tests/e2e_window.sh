#!/usr/bin/env bash
# The real game under Xvfb: it opens a borderless 1280 x 500 window centred on the screen,
# captioned "Orbitrants", paces its frames instead of spinning, and quits on Escape with
# status 0. Usage: e2e_window.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
game=$build/src/game/orbitrants
[ -x "$game" ] || { echo "FAIL: $game not built"; exit 1; }
source "$(dirname "$0")/xvfb.sh"
start_xvfb
# With no window manager, SDL marks a borderless window with the Motif hints only when the
# atom exists; interning it makes the caption removal visible to xprop.
xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0

err=$build/e2e_window.stderr
start_game

wid=""
for _ in $(seq 100); do
    wid=$(find_window Orbitrants)
    [ -n "$wid" ] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited early: $(cat "$err")"
    sleep 0.1
done
[ -n "$wid" ] || fail "no window captioned Orbitrants appeared"
sleep 0.5  # let start-up finish removing the caption

info=$(xwininfo -id "$wid")
field() { echo "$info" | sed -n "s/^ *$1: *//p"; }
[ "$(field Width)" = 1280 ] || fail "client width $(field Width), expected 1280"
[ "$(field Height)" = 500 ] || fail "client height $(field Height), expected 500"
[ "$(field 'Absolute upper-left X')" = 320 ] || fail "not centred horizontally: $(field 'Absolute upper-left X')"
[ "$(field 'Absolute upper-left Y')" = 290 ] || fail "not centred vertically: $(field 'Absolute upper-left Y')"
hints=$(xprop -id "$wid" _MOTIF_WM_HINTS)
echo "$hints" | grep -Eq '= 0x2, 0x0, 0x0,' || fail "window still decorated: $hints"

# Xvfb ignores the swap interval, so only the 60 Hz schedule keeps the main loop from
# spinning. Content generation runs first at full speed; after it, one second of the loop
# must take well under a core.
ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
hz=$(getconf CLK_TCK)
paced=""
for _ in $(seq 60); do
    before=$(ticks)
    sleep 1
    used=$(($(ticks) - before))
    if [ "$used" -lt $((hz / 2)) ]; then paced=yes; break; fi
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited: $(cat "$err")"
done
[ -n "$paced" ] || fail "the main loop kept using over half a core (last second: $used ticks)"

xdotool mousemove 640 300
xdotool windowfocus --sync "$wid"
xdotool key Escape
wait_game_gone "Escape did not end the game"
status=0
wait "$game_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$err")"

# Escape pressed as soon as the caption is gone, while content is still being generated, is
# counted at the first pump of the main loop and ends the game after its first pass. (Keys
# pressed before the window has finished opening are flushed, as opening graphics does.)
start_game
wid=""
for _ in $(seq 400); do
    wid=$(find_window Orbitrants)
    [ -n "$wid" ] && xprop -id "$wid" _MOTIF_WM_HINTS | grep -Eq '= 0x2, 0x0, 0x0,' && break
    wid=""
    sleep 0.025
done
[ -n "$wid" ] || fail "second run: no borderless window appeared"
xdotool windowfocus --sync "$wid" key Escape
for _ in $(seq 600); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "an early Escape did not end the game"
status=0
wait "$game_pid" || status=$?
[ "$status" -eq 0 ] || fail "early Escape: exit status $status: $(cat "$err")"
echo "PASS: borderless 1280x500 window at (320, 290), paced, quit on Escape (also early)"
