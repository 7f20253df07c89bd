#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=OFF -DORB_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target orbitrants
exec build/release/src/game/orbitrants
