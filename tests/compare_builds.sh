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

# Random flying from a seed: turns of every size, thrust held and released, Q presses for
# crowds that bounce off the bumpers and pass the token, pauses and focus changes.
flight() {  # seed passes
    awk -v seed="$1" -v n="$2" 'BEGIN {
        srand(seed); down = 0; paused = 0
        for (f = 1; f < n; f += 1 + int(rand() * 6)) {
            r = rand()
            if (r < 0.55) printf "%d move %d 250\n", f, 640 + int((rand() - 0.5) * 90)
            else if (r < 0.75) { printf "%d %s 1\n", f, down ? "up" : "down"; down = !down }
            else if (r < 0.85 && f < n / 3) printf "%d key 81\n", f
            else if (r < 0.81) { printf "%d key 80\n", f; paused = !paused }
            else if (r < 0.82) printf "%d focus-out\n%d focus-in\n", f, f + 3
            else if (r < 0.83) printf "%d leave\n", f
        }
        if (paused) printf "%d key 80\n", n - 1
    }'
}

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

for seed in 1 2 3; do flight "$seed" "$passes" >"$work/flight$seed.txt"; done
run_tools "$a" "$work/a"
run_tools "$b" "$work/b"
status=0
for f in "$work"/a/*.csv; do
    name=$(basename "$f")
    if ! cmp -s "$f" "$work/b/$name"; then
        echo "FAIL: $name differs; first differing rows:"
        diff "$f" "$work/b/$name" | head -4 || true
        status=1
    fi
done
if ! diff -rq "$work/a" "$work/b" >"$work/diff.txt"; then
    echo "FAIL: outputs differ:"
    head -20 "$work/diff.txt" || true
    status=1
fi
rows=$(cat "$work"/a/trace*.csv | wc -l)
ships=$(cat "$work"/a/enemies*.csv | wc -l)
changes=$(awk -F, 'FNR == 1 { delete c } FNR > 1 { k = FILENAME ":" $2; if (k in c && c[k] != $10) n++; c[k] = $10 } END { print n + 0 }' "$work"/a/enemies*.csv)
files=$(find "$work/a/dump" -type f | wc -l)
echo "compared $files content files, $rows trace rows, $ships enemy rows ($changes carrier" \
    "changes) and 2 screenshots: $([ $status = 0 ] && echo identical || echo DIFFERENT)"
exit $status
