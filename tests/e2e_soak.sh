#!/usr/bin/env bash
# A short soak: orbitrants-soak over seeded random input of every kind, every real of the game
# checked after each pass. Short enough for the sanitizer build; README has the long command.
# Usage: e2e_soak.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
soak=$build/tools/orbitrants-soak
[ -x "$soak" ] || { echo "FAIL: $soak not built"; exit 1; }
# The sanitizer's allocator holds freed memory in quarantine, so only the normal build's
# resident memory says whether the game's own use stays flat.
growth=65536
grep -q '^ORB_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && growth=1048576
GALLIUM_NOOP=1 "$soak" --passes "${ORB_SOAK_PASSES:-1500}" --seed 11 --max-growth-kib "$growth"
