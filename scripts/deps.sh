#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and tools need, only those missing.
# With --fuzz, also clang and its libFuzzer runtime for the fuzz build (-DORB_FUZZ=ON).
set -euo pipefail
packages=(g++ cmake pkg-config libsdl2-dev libepoxy-dev libpng-dev libgtest-dev libgmock-dev
          libbenchmark-dev libmpfr-dev libwayland-dev libx11-dev libgl1-mesa-dri libegl-mesa0 xvfb xauth
          xdotool x11-utils x11-apps xfonts-base weston openbox desktop-file-utils)
if [ "${1:-}" = "--fuzz" ]; then packages+=(clang-14 libclang-rt-14-dev); fi
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
