#!/usr/bin/env bash
# Installs what is missing (Debian's emscripten), builds the game for the browser into
# build/web/site and serves that folder on http://localhost:8000 until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --web
port=${PORT:-8000}
emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/web -j"$(nproc)"
echo "Orbitrants is served on http://localhost:$port/ (Ctrl-C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
