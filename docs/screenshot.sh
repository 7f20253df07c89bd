#!/usr/bin/env bash
# Makes the README's screenshot with the replay tool from a fixed clock and input script.
# Usage: docs/screenshot.sh BUILD_DIR [OUT.png] (default docs/screenshot.png)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build directory (configured with -DORB_TOOLS=ON)}
out=${2:-$here/screenshot.png}
passes=230
SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} "$build/tools/orbitrants-replay" --clock 20261209 \
    --frames $passes --input "$here/screenshot.replay" --shot "$((passes - 1)):$out" > /dev/null
