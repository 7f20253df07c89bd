#!/usr/bin/env bash
# The browser build must compute what the desktop build computes: the generated content and
# the replay traces of long random flights (Q crowds, pauses, focus changes), byte for byte.
# The one image the GPU makes, the backdrop composite read back from the screen, is compared
# within 2 per channel instead: SwiftShader and llvmpipe round blends differently.
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
status=0
compare_outputs "$work/a" "$work/b" "$composite" || status=1
near=$(node "$here/web/channel_difference.mjs" "$work/a/dump/$composite" "$work/b/dump/$composite")
if [ "$near" -gt 2 ]; then
    echo "FAIL: the backdrop composite differs by $near in a channel (at most 2 allowed)"
    status=1
fi
summarise "$work/a" $status ", the composite within $near per channel"
exit $status
