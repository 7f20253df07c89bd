#!/usr/bin/env bash
# Installs what is missing (Debian's emscripten), builds the game for the browser into
# build/web/site and serves that folder on http://localhost:8000 until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(emscripten cmake python3)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
port=${PORT:-8000}
emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/web -j"$(nproc)"
echo "Orbitrants is served on http://localhost:$port/ (Ctrl-C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
