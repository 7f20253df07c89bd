# Shared by the end-to-end scripts: a private Xvfb display, a window manager on request,
# waiting on conditions (never on fixed sleeps), and finding windows by their owner and kind
# rather than by title alone. Exits 0 with a SKIP message when a tool is not installed.
# Source, don't run.

# Process ids to end when the script ends, newest first.
e2e_pids=()
e2e_cleanup() {
    local i
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do kill "${e2e_pids[i]}" 2>/dev/null || true; done
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

now_ms() {
    local t=${EPOCHREALTIME//[.,]/}
    echo $((t / 1000))
}

# Runs the command (its output discarded) until it succeeds, for at most $1 seconds of wall
# time; false when time runs out.
wait_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            { echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"; exit 0; }
    done
}

display_up() { xdpyinfo >/dev/null 2>&1; }

start_xvfb() {
    require_tools Xvfb xdotool xwininfo xprop xdpyinfo
    # Xvfb picks a free display itself and writes its number once it listens, so parallel runs
    # never share one. -noreset keeps atoms and root properties when the last client leaves.
    local numfile
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
    e2e_pids+=($!)
    wait_for 30 test -s "$numfile" || fail "Xvfb did not report a display"
    local display
    display=$(tr -d '[:space:]' <"$numfile")
    rm -f "$numfile"
    export DISPLAY=":$display"
    unset SDL_VIDEODRIVER WAYLAND_DISPLAY
    wait_for 30 display_up || fail "Xvfb did not start on $DISPLAY"
}

# A window manager has taken the display once it names itself on the root window and lists
# what it supports.
names_itself() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' &&
        xprop -root _NET_SUPPORTED | grep -q _NET_FRAME_EXTENTS
}

# Starts openbox on the display (default configuration: frames with a title bar, the focus
# goes to new windows and to a window clicked on) and waits until it has finished starting: a
# window mapped while it starts may be left unmanaged until some other X event reaches it, so
# the scripts open theirs only once openbox runs its start-up command.
start_openbox() {
    require_tools openbox
    local ready
    ready=$(mktemp -u)
    openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
    wm_pid=$!
    e2e_pids+=($wm_pid)
    wait_for 30 test -e "$ready" || fail "openbox did not finish starting on $DISPLAY"
    rm -f "$ready"
    names_itself || fail "openbox reports no frame extents"
}

# "running" or "gone": the window manager's state, for failure messages.
wm_state() { running "${wm_pid:-0}" && echo running || echo gone; }

# The ids of every window titled exactly $1, top-level or framed by a window manager.
windows_titled() {
    xwininfo -root -tree 2>/dev/null | sed -n "s/^ *\(0x[0-9a-f]*\) \"$1\": .*/\1/p"
}

# The id of the window titled exactly $2 and owned by process $1 (its _NET_WM_PID), or nothing.
window_of() {
    local id
    for id in $(windows_titled "$2"); do
        if xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $1\$"; then
            echo "$id"
            return
        fi
    done
}

has_window() { [ -n "$(window_of "$@")" ]; }

# The id of a mapped dialog window titled exactly $1 (a message box), or nothing.
dialog_titled() {
    local id
    for id in $(windows_titled "$1"); do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG &&
            xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            return
        fi
    done
}

# "X Y WIDTH HEIGHT" of a window's client area in screen pixels; nothing when it is gone.
client_geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {if (w != "") print x, y, w, h}'
}

# "LEFT RIGHT TOP BOTTOM" of the frame a window manager reports around a window, or nothing.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ','
}

# True when the window has asked for no decorations (Motif hints: flags 2, decorations 0).
undecorated() {
    xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | grep -Eq '= 0x2, 0x0, 0x0,'
}

running() { kill -0 "$1" 2>/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# Starts the game (with any leading VAR=value words) in the background, its standard error
# into $err; sets game_pid.
start_game() {
    env "$@" "$game" 2>"$err" &
    game_pid=$!
    e2e_pids+=($game_pid)
}

# Waits up to $2 seconds (default 30) for the game to exit; fails with $1 when it does not.
wait_game_gone() {
    wait_for "${2:-30}" gone "$game_pid" || fail "$1"
}
