#!/usr/bin/env bash
# The real game under Xvfb, on a bare display or (mode "openbox") under a window manager that
# frames windows. A captioned window of the platform opens with its client area centred on the
# screen; the game's window then loses its caption keeping its top-left corner, so it ends as a
# borderless 1280 x 500 window at the centre less the frame's left and top. The game paces its
# frames instead of spinning and quits on Escape with status 0, also when Escape comes during
# start-up. Usage: e2e_window.sh BUILD_DIR [bare|openbox]
set -euo pipefail
build=${1:?build directory}
mode=${2:-bare}
game=$build/src/game/orbitrants
probe=$build/tools/orbitrants-events
source "$(dirname "$0")/xvfb.sh"
[ -x "$game" ] || fail "$game not built"
[ -x "$probe" ] || fail "$probe not built"
start_xvfb
case $mode in
    bare)
        # With no window manager, SDL marks a borderless window with the Motif hints only when
        # the atom exists; interning it makes the caption removal visible to xprop.
        xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0
        ;;
    openbox) start_openbox ;;
    *) fail "unknown mode $mode" ;;
esac
screen_w=1920 screen_h=1080
err=$build/e2e_window.$mode.stderr

# The platform's captioned window (the events tool keeps its caption): its client area sits
# at half the screen less half its size, and its frame is the one the game's window has
# before the caption goes.
"$probe" >/dev/null 2>"$err" &
probe_pid=$!
e2e_pids+=($probe_pid)
wait_for 30 has_window "$probe_pid" orbitrants-events ||
    fail "the events tool opened no window: $(cat "$err")"
probe_wid=$(window_of "$probe_pid" orbitrants-events)
left=0 top=0
if [ "$mode" = openbox ]; then
    framed() { [ -n "$(frame_extents "$probe_wid")" ]; }
    wait_for 30 framed ||
        fail "openbox reported no frame for the captioned window (openbox $(wm_state))"
    read -r left _ top _ <<<"$(frame_extents "$probe_wid")"
    [ "$top" -gt "$left" ] || fail "the captioned window has no title bar: frame $(frame_extents "$probe_wid")"
fi
want_probe="$((screen_w / 2 - 320)) $((screen_h / 2 - 200)) 640 400"
probe_placed() { [ "$(client_geometry "$probe_wid")" = "$want_probe" ]; }
wait_for 30 probe_placed ||
    fail "captioned client area at $(client_geometry "$probe_wid"), expected $want_probe"
kill "$probe_pid"
wait_for 30 gone "$probe_pid" || fail "the events tool did not end"

# The game: borderless, its top-left where the captioned window's frame began.
frames=$build/e2e_window.$mode.frames
trace=$build/e2e_window.$mode.csv
rm -f "$frames" "$trace"
start_game ORBITRANTS_FRAMES="$frames" ORBITRANTS_TRACE="$trace"
wait_for 30 has_window "$game_pid" Orbitrants || fail "the game opened no window: $(cat "$err")"
wid=$(window_of "$game_pid" Orbitrants)
want="$((screen_w / 2 - 640 - left)) $((screen_h / 2 - 250 - top)) 1280 500"
placed() {
    undecorated "$wid" && [ "$(client_geometry "$wid")" = "$want" ] &&
        { [ "$mode" = bare ] || [ "$(frame_extents "$wid")" = "0 0 0 0" ]; }
}
wait_for 30 placed || fail "window at $(client_geometry "$wid"), frame '$(frame_extents "$wid")',
    $(xprop -id "$wid" _MOTIF_WM_HINTS 2>&1); expected borderless at $want"

# Xvfb ignores the swap interval, so only the 60 Hz schedule keeps the main loop from
# running ahead. The game logs when each main-loop present returns; after two seconds of play
# and Escape, no second of the log may hold more than 62 presents (61 when one present comes late
# and the next catches up on schedule). (Its processor time says
# nothing here: drawing real frames on llvmpipe takes most of a core on a quiet machine.)
# The two seconds count from the first play frame: generation can take longer than that in
# the sanitizer build on a busy machine.
playing() { [ -f "$trace" ] && [ "$(wc -l <"$trace")" -ge 2 ]; }
wait_for 60 playing || fail "the game never reached its first play frame: $(cat "$err")"
sleep 2
placed || fail "the window moved on its own to $(client_geometry "$wid")"

read -r x y _ <<<"$want"
xdotool windowfocus --sync "$wid" key Escape
wait_game_gone "Escape did not end the game"
status=0
wait "$game_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$err")"
densest=$(awk 'NR > 1 { t[n++] = $1 } END {
    best = 0; j = 0
    for (i = 0; i < n; i++) { while (t[i] - t[j] >= 1000000) j++; if (i - j + 1 > best) best = i - j + 1 }
    print n, best }' "$frames")
read -r presents busiest <<<"$densest"
[ "$presents" -ge 30 ] || fail "only $presents presents were logged in two seconds of play"
[ "$busiest" -le 62 ] || fail "the main loop ran ahead of 60 a second: $busiest presents in one second"

# Escape pressed as soon as the caption is gone, while content is still being generated, is
# counted at the first pump of the main loop and ends the game after its first pass. (Keys
# pressed before the window has finished opening are flushed, as opening graphics does.)
start_game
wait_for 30 has_window "$game_pid" Orbitrants || fail "second run: no window: $(cat "$err")"
wid=$(window_of "$game_pid" Orbitrants)
wait_for 30 undecorated "$wid" || fail "second run: the caption stayed"
xdotool windowfocus --sync "$wid" key Escape
wait_game_gone "an early Escape did not end the game" 120
status=0
wait "$game_pid" || status=$?
[ "$status" -eq 0 ] || fail "early Escape: exit status $status: $(cat "$err")"
echo "PASS ($mode): captioned client centred, borderless 1280x500 window at ($x, $y), paced," \
    "quit on Escape (also early)"
