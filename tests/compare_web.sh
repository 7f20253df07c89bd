#!/usr/bin/env bash
# The browser build must compute what the desktop build computes: the generated content and
# the replay traces of long random flights (Q crowds, pauses, focus changes), byte for byte.
# What the GPU makes is compared within a tolerance instead, SwiftShader and llvmpipe placing
# edges and interpolating texture coordinates a little apart: the backdrop composite read back
# from the screen and the frames of a flight within 2 per channel.
# Usage: tests/compare_web.sh DESKTOP_BUILD WEB_BUILD [PASSES]
#   WEB_BUILD is an emcmake build with -DORB_TOOLS=ON (its tools-site/ folder).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
desktop=$(cd "$1" && pwd) web=$(cd "$2" && pwd)
passes=${3:-3000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen
source "$here/compare_lib.sh"
composite=backdrop.1280x500.rgba

web_tool() {  # run_tool.mjs arguments...
    node "$here/web/run_tool.mjs" "$web/tools-site" "$work/b" "$@" >/dev/null
}

write_flights "$work" "$passes"
mkdir -p "$work/a/dump" "$work/b"
"$desktop/tools/orbitrants-dump" "$work/a/dump" --clock 4242 --raw >/dev/null
web_tool -- orbitrants-dump /out/dump --clock 4242 --raw
for seed in 1 2 3; do
    clock=$((1000 * seed + 7))
    GALLIUM_NOOP=1 "$desktop/tools/orbitrants-replay" --frames "$passes" --clock $clock \
        --input "$work/flight$seed.txt" --trace "$work/a/trace$seed.csv" \
        --enemies "$work/a/enemies$seed.csv" >/dev/null
    web_tool --no-draw --in "flight$seed.txt=$work/flight$seed.txt" -- orbitrants-replay \
        --frames "$passes" --clock $clock --input "/in/flight$seed.txt" \
        --trace "/out/trace$seed.csv" --enemies "/out/enemies$seed.csv"
done
# The frames themselves, drawn by each GPU: flight 1 at passes along the way to the token
# carried (pass 325), the first of them a still ship and no trails yet.
shot_passes="0 60 180 325"
shots=() web_shots=()
for pass in $shot_passes; do
    shots+=(--shot "$pass:$work/shots/a$pass.rgba")
    web_shots+=(--shot "$pass:/out/shot$pass.rgba")
done
mkdir -p "$work/shots"
"$desktop/tools/orbitrants-replay" --frames 326 --clock 1007 --input "$work/flight1.txt" \
    "${shots[@]}" >/dev/null
web_tool --in "flight1.txt=$work/flight1.txt" -- orbitrants-replay --frames 326 --clock 1007 \
    --input /in/flight1.txt "${web_shots[@]}"
mv "$work"/b/shot*.rgba "$work/shots/"
status=0
compare_outputs "$work/a" "$work/b" "$composite" || status=1
worst=0
within() {  # what a b: fails where a channel is more than 2 apart
    local near far
    read -r near far < <(node "$here/web/channel_difference.mjs" "$2" "$3")
    [ "$near" -gt "$worst" ] && worst=$near
    if [ "$near" -gt 2 ]; then
        echo "FAIL: $1 differs by $near in a channel ($far pixels more than 2 apart)"
        status=1
    fi
}
within "the backdrop composite" "$work/a/dump/$composite" "$work/b/dump/$composite"
for pass in $shot_passes; do
    within "the frame of pass $pass" "$work/shots/a$pass.rgba" "$work/shots/shot$pass.rgba"
done
summarise "$work/a" $status ", the composite and frames $shot_passes within $worst per channel"
exit $status
