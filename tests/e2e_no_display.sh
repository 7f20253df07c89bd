#!/usr/bin/env bash
# Without a display the game refuses SDL's invisible fallback: it names what is missing on
# standard error in one sentence of its own (no window-system noise before it, no driver
# names) and exits non-zero without crashing. Asked for explicitly with
# SDL_VIDEODRIVER=offscreen it runs headless. Usage: e2e_no_display.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
game=$build/src/game/orbitrants
[ -x "$game" ] || { echo "FAIL: $game not built"; exit 1; }
source "$(dirname "$0")/xvfb.sh"  # for fail and wait_for; no display is started

err=$build/e2e_no_display.stderr
message="Orbitrants: cannot open the game window: there is no display to open it on; start the \
game from a desktop session (X11 or Wayland), or check that DISPLAY or WAYLAND_DISPLAY names a \
running one"
# Exactly the game's sentence: libwayland complains of a missing XDG_RUNTIME_DIR when SDL
# tries Wayland without one, and SDL's names for its drivers mean nothing to a player.
only_the_message() {  # what was run
    [ "$(cat "$err")" = "$message" ] || fail "$1: stderr is not the game's sentence alone: $(cat "$err")"
}
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR timeout 30 "$game" \
    2>"$err" || status=$?
[ "$status" -ne 124 ] || fail "the game kept running without a display"
[ "$status" -ne 0 ] || fail "exit status 0 without a display"
[ "$status" -lt 128 ] || fail "the game crashed (status $status): $(cat "$err")"
only_the_message "no display"

# A display that names no running server (a stale DISPLAY over ssh) is no display either.
stale=190
while [ -e /tmp/.X11-unix/X$stale ]; do stale=$((stale + 1)); done
status=0
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$stale" timeout 30 "$game" 2>"$err" ||
    status=$?
[ "$status" -ne 0 ] && [ "$status" -lt 124 ] || fail "stale DISPLAY: status $status: $(cat "$err")"
only_the_message "stale DISPLAY"

# An explicit request for the headless driver is honoured: the game runs until stopped.
# Headless frames are not paced, so a running game keeps a core busy: two seconds of its own
# processor time take it through start-up and generation into the main loop.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen "$game" 2>"$err" &
pid=$!
e2e_pids+=($pid)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0; }
busy() { ! kill -0 "$pid" 2>/dev/null || [ "$(cpu_ticks)" -ge $((2 * $(getconf CLK_TCK))) ]; }
wait_for 120 busy || { kill -9 "$pid"; fail "the headless game used no processor time"; }
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" || true
    fail "the game did not run with SDL_VIDEODRIVER=offscreen: $(cat "$err")"
fi
# Termination signals end it (SDL would otherwise turn them into ignored close requests).
kill "$pid"
if ! wait_for 30 gone "$pid"; then
    kill -9 "$pid"
    fail "SIGTERM did not end the game"
fi
wait "$pid" 2>/dev/null || true
echo "PASS: refused without a display, ran headless on request"
