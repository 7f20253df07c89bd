#!/usr/bin/env bash
# Installs the Debian packages that are missing, only those. With no argument: what building
# and playing the game need. With --test: also the tests' tools (display servers, input
# drivers, GoogleTest, Google Benchmark, the package checkers, and for the browser build's
# tests emscripten, GoogleTest's sources, chromium, node and npm). With --fuzz: also clang and
# its libFuzzer runtime for the fuzz build (-DORB_FUZZ=ON). With --web: also emscripten and
# the local web server's python3, for the browser build.
set -euo pipefail
packages=(g++ cmake pkg-config libsdl2-dev libepoxy-dev libpng-dev libwayland-dev libx11-dev
          libgl1-mesa-dri libegl-mesa0)
for arg in "$@"; do
    case $arg in
        --test) packages+=(libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev xvfb xauth xdotool x11-utils
                           x11-apps xfonts-base weston openbox desktop-file-utils appstream
                           dpkg-dev file lintian man-db emscripten googletest chromium nodejs)
                # A node from elsewhere (NodeSource's) brings its own npm, which Debian's
                # conflicts with.
                command -v npm >/dev/null || packages+=(npm) ;;
        --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
        --web) packages+=(emscripten python3) ;;
        *) echo "usage: deps.sh [--test] [--fuzz] [--web]" >&2; exit 2 ;;
    esac
done
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
