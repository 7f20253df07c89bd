#!/usr/bin/env bash
# On a desktop without OpenGL 3.3 (Mesa held to 3.0 under Xvfb) the game names what is
# missing and the package that fixes it on standard error, in its own words alone, shows it in
# a message box, and after the box is dismissed exits with a non-zero status instead of
# crashing. Usage: e2e_no_opengl.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
game=$build/src/game/orbitrants
source "$(dirname "$0")/xvfb.sh"
[ -x "$game" ] || fail "$game not built"
start_xvfb

err=$build/e2e_no_opengl.stderr
start_game MESA_GL_VERSION_OVERRIDE=3.0

# The game's own window, titled like the box, opens and closes again before the box comes:
# the box is the dialog with that title, which no game window is.
box=""
outcome() {
    box=$(dialog_titled Orbitrants)
    [ -n "$box" ] && return 0
    gone "$game_pid" && return 0
    local wid
    wid=$(window_of "$game_pid" Orbitrants)
    [ -n "$wid" ] && undecorated "$wid"  # the game got its context and went on
}
wait_for 60 outcome || fail "neither a message box nor the game window came: $(cat "$err")"
if [ -z "$box" ]; then
    gone "$game_pid" && fail "the game ended without a message box: $(cat "$err")"
    echo "SKIP: this OpenGL ignores MESA_GL_VERSION_OVERRIDE; the game window opened"
    exit 0
fi
missing="Orbitrants: cannot open the game window: the graphics driver offers no OpenGL 3.3 \
core context"
fix="; install Mesa's drivers (the package libgl1-mesa-dri on Debian and Ubuntu) or update the \
graphics driver"
# Where a context comes but too old, the version it offers follows in brackets.
grep -qxF "$missing$fix" "$err" || grep -qx "$missing (only [0-9]\.[0-9])$fix" "$err" ||
    fail "not the game's sentence: $(cat "$err")"
[ "$(wc -l < "$err")" -eq 1 ] || fail "more than the game's sentence on stderr: $(cat "$err")"

# The box takes keys once it has the focus; Return dismisses it.
box_up() { [ "$(dialog_titled Orbitrants)" = "$box" ]; }
for _ in 1 2 3; do
    box_up || break
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
    wait_for 10 gone "$game_pid" && break
done
gone "$game_pid" || fail "the game did not end after the message box"
status=0
wait "$game_pid" || status=$?
[ "$status" -ne 0 ] || fail "exit status 0 without OpenGL 3.3"
[ "$status" -lt 128 ] || fail "the game crashed (status $status)"
echo "PASS: told the player OpenGL 3.3 is missing, exited with status $status"
