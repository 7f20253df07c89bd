#!/usr/bin/env bash
# A window that cannot be made: SDL's dummy video driver, asked for explicitly, has no OpenGL,
# so the game can make neither its window nor its context. It says so on standard error and
# exits with a non-zero status instead of crashing or running without a picture (the tools'
# suites check the same of them). Usage: e2e_no_window.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
fail() { echo "FAIL: $*"; exit 1; }
err=$(mktemp)
trap 'rm -f "$err"' EXIT

expect_refusal() {  # name, the whole of its stderr, command...
    local name=$1 message=$2
    shift 2
    [ -x "$1" ] || fail "$1 not built"
    local status=0
    env SDL_VIDEODRIVER=dummy timeout 60 "$@" > /dev/null 2> "$err" || status=$?
    [ "$status" -ne 124 ] || fail "$name kept running without a window"
    [ "$status" -ne 0 ] || fail "$name: exit status 0 without a window"
    [ "$status" -lt 128 ] || fail "$name crashed (status $status): $(cat "$err")"
    [ "$(cat "$err")" = "$message" ] || fail "$name: not '$message' on stderr: $(cat "$err")"
}
expect_refusal orbitrants "Orbitrants: cannot open the game window: the window system gives no \
window that OpenGL can draw in" "$build/src/game/orbitrants"
echo "PASS: without a window the game says so and exits non-zero"
