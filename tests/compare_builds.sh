#!/usr/bin/env bash
# Two builds of the same source must compute the same game: the generated content, the replay
# traces and chosen screenshots of long scripted flights, byte for byte. Run with the normal
# (optimised) and the sanitizer (unoptimised) build dirs; an optimiser that drops a float
# rounding shows here as the first differing row.
# Usage: tests/compare_builds.sh BUILD_A BUILD_B [PASSES]
set -euo pipefail
a=$(cd "$1" && pwd) b=$(cd "$2" && pwd)
passes=${3:-3000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen
source "$(dirname "$0")/compare_lib.sh"

run_tools() {  # build out
    local build=$1 out=$2
    mkdir -p "$out/dump"
    "$build/tools/orbitrants-dump" "$out/dump" --clock 4242 >/dev/null
    # The game's logic does not read the pixels back, so long flights skip the rasteriser;
    # a short one is drawn for real and shot.
    for seed in 1 2 3; do
        GALLIUM_NOOP=1 "$build/tools/orbitrants-replay" --frames "$passes" \
            --clock $((1000 * seed + 7)) --input "$work/flight$seed.txt" \
            --trace "$out/trace$seed.csv" --enemies "$out/enemies$seed.csv" >/dev/null
    done
    "$build/tools/orbitrants-replay" --frames 400 --clock 4007 --input "$work/flight1.txt" \
        --shot "200:$out/shot200.png" --shot "399:$out/shot399.png" >/dev/null
}

write_flights "$work" "$passes"
run_tools "$a" "$work/a"
run_tools "$b" "$work/b"
status=0
compare_outputs "$work/a" "$work/b" "" || status=1
summarise "$work/a" $status " and 2 screenshots"
exit $status
