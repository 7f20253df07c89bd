# Shared by the end-to-end scripts: starts a private Xvfb display and exports DISPLAY.
# Exits 0 with a SKIP message when Xvfb or xdotool is not installed. Source, don't run.

# Adds a process id to kill when the script ends.
e2e_pids=()
e2e_cleanup() { for p in "${e2e_pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }

start_xvfb() {
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null ||
        ! command -v xwininfo >/dev/null; then
        echo "SKIP: Xvfb, xdotool or xwininfo is not installed (scripts/deps.sh installs them)"
        exit 0
    fi
    # Xvfb picks a free display itself and writes its number, so parallel runs never share
    # one. -noreset keeps atoms and root properties when the last client disconnects.
    local numfile
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
    e2e_pids+=($!)
    for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.05; done
    local display
    display=$(tr -d '[:space:]' <"$numfile")
    rm -f "$numfile"
    [ -n "$display" ] || fail "Xvfb did not report a display"
    export DISPLAY=":$display"
    unset SDL_VIDEODRIVER WAYLAND_DISPLAY
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $DISPLAY"
}

# Prints the id of the first top-level window named exactly $1, or nothing.
find_window() {
    xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) \"$1\".*/\1/p" | head -1
}

# Starts the game (with any leading VAR=value words) in the background, its standard error
# into $err; sets game_pid.
start_game() {
    env "$@" "$game" 2>"$err" &
    game_pid=$!
    e2e_pids+=($game_pid)
}

# Waits up to ten seconds for the game to exit; fails with $1 when it does not.
wait_game_gone() {
    for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || return 0; sleep 0.1; done
    fail "$1"
}
