#!/usr/bin/env bash
# A short soak: orbitrants-soak over seeded random input of every kind, every real of the game
# checked after each pass: 30,000 passes in the normal build, 1,500 in the unoptimised
# sanitizer build (about 25 ms a pass at 300 enemies). README has the long command.
# Usage: e2e_soak.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
soak=$build/tools/orbitrants-soak
[ -x "$soak" ] || { echo "FAIL: $soak not built"; exit 1; }
# The sanitizer's allocator holds freed memory in quarantine, so only the normal build's
# resident memory says whether the game's own use stays flat.
growth=65536 passes=30000
grep -q '^ORB_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && growth=1048576 passes=1500
GALLIUM_NOOP=1 "$soak" --passes "${ORB_SOAK_PASSES:-$passes}" --seed 11 --max-growth-kib "$growth"
