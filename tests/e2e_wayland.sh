#!/usr/bin/env bash
# The game on a real Wayland compositor (weston). With SDL_VIDEODRIVER=wayland it runs natively:
# it presents frames the compositor consumes, hides the pointer and steers through relative
# motion with the pointer locked only while it has the keyboard focus, and SIGTERM ends it.
# Left to choose with both DISPLAY and WAYLAND_DISPLAY set, it runs on X11. On a compositor
# without an input seat (weston's headless back end), where SDL's Wayland driver would crash,
# it refuses the explicit request with a message and otherwise keeps to X11.
# Usage: e2e_wayland.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
game=$build/src/game/orbitrants
[ -x "$game" ] || { echo "FAIL: $game not built"; exit 1; }
source "$(dirname "$0")/xvfb.sh"
if ! command -v weston >/dev/null || ! command -v weston-simple-shm >/dev/null; then
    echo "SKIP: weston is not installed (scripts/deps.sh installs it)"
    exit 0
fi
start_xvfb
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
runtime_dir=$XDG_RUNTIME_DIR
trap 'e2e_cleanup; rm -rf "$runtime_dir"' EXIT
err=$build/e2e_wayland.stderr

# Waits up to $1 tenths of a second for the command after it to succeed; fails with $2.
wait_until() {
    local tenths=$1 what=$2
    shift 2
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game exited while waiting for $what: $(grep -v '^\[' "$err" | tail -5)"
        sleep 0.1
    done
    fail "timed out waiting for $what"
}

# Lines of the game's Wayland protocol log (WAYLAND_DEBUG=1) matching the pattern $1.
count() { grep -cE "$1" "$err" || true; }
at_least() { [ "$(count "$1")" -ge "$2" ]; }
has_x11_window() { has_window "$game_pid" Orbitrants; }

# Starts weston with socket $1 and the remaining arguments; skips when it cannot start.
start_weston() {
    local socket=$1
    shift
    weston --socket="$socket" --idle-time=0 --log="$runtime_dir/$socket.log" "$@" \
        >/dev/null 2>&1 &
    e2e_pids+=($!)
    local pid=$!
    for _ in $(seq 100); do
        [ -S "$runtime_dir/$socket" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "SKIP: weston $* could not start: $(tail -3 "$runtime_dir/$socket.log" 2>/dev/null)"
    exit 0
}

# Sends SIGTERM to the game and checks it ends by that signal, not by a crash or a hang.
terminate_game() {
    kill -TERM "$game_pid"
    wait_game_gone "SIGTERM did not end the game ($1)"
    local status=0
    wait "$game_pid" || status=$?
    [ "$status" -eq 143 ] || fail "$1: status $status after SIGTERM: $(grep -v '^\[' "$err" | tail -5)"
}

# A compositor with a seat: weston's X11 back end on the Xvfb display takes pointer and
# keyboard from it. Its one 1280 x 500 output, without a panel, is exactly the game window.
cat >"$runtime_dir/weston.ini" <<'EOF'
[shell]
panel-position=none
EOF
start_weston wl-seat --backend=x11-backend.so --use-pixman --width=1280 --height=500 \
    --config="$runtime_dir/weston.ini"
weston_pid=${e2e_pids[-1]}

start_game -u DISPLAY WAYLAND_DISPLAY=wl-seat SDL_VIDEODRIVER=wayland WAYLAND_DEBUG=1
released='wl_buffer@[0-9]+\.release\(\)'
wait_until 600 "frames the compositor consumed" at_least "$released" 30
lock=' -> zwp_pointer_constraints_v1@[0-9]+\.lock_pointer\('
wait_until 1800 "relative mode after start-up" at_least "$lock" 1
at_least 'wl_pointer@[0-9]+\.set_cursor\([0-9]+, nil, 0, 0\)' 1 || fail "the pointer was not hidden"

# Weston locks the pointer once the focused window is clicked; relative motion then flows.
locked='zwp_locked_pointer_v1@[0-9]+\.locked\(\)'
motion='zwp_relative_pointer_v1@[0-9]+\.relative_motion\([0-9]+, [0-9]+, 40\.0+, 0\.0+,'
xdotool mousemove 640 250 click 1
wait_until 100 "the pointer lock" at_least "$locked" 1
xdotool mousemove_relative 40 0
wait_until 100 "relative motion" at_least "$motion" 1

# Another window takes the focus: the game gives the pointer back. When that window goes,
# the focus returns and the game locks again, once.
env -u DISPLAY WAYLAND_DISPLAY=wl-seat weston-simple-shm >/dev/null 2>&1 &
other_pid=$!
e2e_pids+=($other_pid)
wait_until 100 "the focus to leave" at_least 'wl_keyboard@[0-9]+\.leave\(' 1
wait_until 100 "the lock to be released" at_least ' -> zwp_locked_pointer_v1@[0-9]+\.destroy\(\)' 1
kill "$other_pid"
wait_until 100 "the focus to return" at_least 'wl_keyboard@[0-9]+\.enter\(' 2
wait_until 100 "relative mode again" at_least "$lock" 2
xdotool mousemove 600 200 click 1
wait_until 100 "the pointer lock again" at_least "$locked" 2
xdotool mousemove_relative 40 0
wait_until 100 "relative motion again" at_least "$motion" 2
focus_gains=$(count 'wl_keyboard@[0-9]+\.enter\(')
[ "$(count "$lock")" -le "$focus_gains" ] ||
    fail "$(count "$lock") pointer locks asked for $focus_gains focus gains"
before=$(count "$released")
wait_until 100 "frames after the pointer play" at_least "$released" $((before + 10))
terminate_game "native Wayland"
kill -0 "$weston_pid" 2>/dev/null || fail "weston did not outlive the game"

# Left to choose, SDL takes X11 before Wayland: the window is an X top-level on Xvfb and
# no Wayland surface is made (the seat probe only reads the compositor's globals).
start_game WAYLAND_DISPLAY=wl-seat WAYLAND_DEBUG=1
wait_until 600 "an X11 window with both displays set" has_x11_window
[ "$(count 'create_surface\(')" -eq 0 ] || fail "the game made a Wayland surface on its own"
terminate_game "X11 beside Wayland"

# A compositor without a seat: SDL's Wayland driver would crash in SDL_Init there.
start_weston wl-noseat --backend=headless-backend.so
status=0
env -u DISPLAY WAYLAND_DISPLAY=wl-noseat SDL_VIDEODRIVER=wayland timeout 60 "$game" 2>"$err" ||
    status=$?
[ "$status" -eq 1 ] || fail "explicit Wayland without a seat: status $status: $(cat "$err")"
grep -q "no input seat" "$err" || fail "explicit Wayland without a seat: no message: $(cat "$err")"
status=0
env -u DISPLAY -u SDL_VIDEODRIVER WAYLAND_DISPLAY=wl-noseat timeout 60 "$game" 2>"$err" ||
    status=$?
[ "$status" -eq 1 ] || fail "seatless Wayland alone: status $status: $(cat "$err")"
grep -q "cannot open the game window" "$err" || fail "seatless Wayland alone: no message: $(cat "$err")"
start_game WAYLAND_DISPLAY=wl-noseat
wait_until 600 "an X11 window beside a seatless compositor" has_x11_window
terminate_game "X11 beside a seatless compositor"
echo "PASS: native Wayland presents, relative mode follows the focus, SIGTERM ends it;" \
    "X11 chosen beside Wayland; a seatless compositor refused or passed over"
