#!/usr/bin/env bash
# Under openbox, a click on the game's window while another program has the focus gives the
# window the focus and is the player's click too: the platform reports the activation first,
# then the press, with the button held as the game reads it. Watched through orbitrants-events,
# which prints what a window of the platform receives. Usage: e2e_focus_click.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
probe=$build/tools/orbitrants-events
source "$(dirname "$0")/xvfb.sh"
[ -x "$probe" ] || fail "$probe not built"
require_tools xmessage
start_xvfb
start_openbox

log=$build/e2e_focus_click.log
err=$build/e2e_focus_click.stderr
"$probe" >"$log" 2>"$err" &
probe_pid=$!
e2e_pids+=($probe_pid)
wait_for 30 has_window "$probe_pid" orbitrants-events || fail "no window opened: $(cat "$err")"
wid=$(window_of "$probe_pid" orbitrants-events)
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((wid))" ]; }
wait_for 30 focused || fail "openbox did not give the new window the focus"

# Another program opens, away from the game's window, and takes the focus.
xmessage -geometry +0+0 "another program" &
e2e_pids+=($!)
logged() { grep -q "$1" "$log"; }
wait_for 30 logged '^0x101' || fail "the other program did not take the focus"

read -r x y _ <<<"$(client_geometry "$wid")"
xdotool mousemove --sync $((x + 100)) $((y + 100))
from=$(($(wc -l <"$log") + 1))
clicks() { tail -n +"$from" "$log" | grep -Ev 'mouse-(move|enter)'; }
xdotool click 1
released() { clicks | grep -q '^0x402'; }
wait_for 20 released || fail "the click was lost; after it the window saw:
$(clicks)"
order=$(clicks | awk '{print $2, $3, $NF}' | head -3 | tr '\n' ';')
[ "$order" = "activate data=0 left=0;mouse-down data=1 left=1;mouse-up data=1 left=0;" ] ||
    fail "expected activation, then the press held, then the release; got: $order"
echo "PASS: the click that gave the window the focus came after the activation and was held"
