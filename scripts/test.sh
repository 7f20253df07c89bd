#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in a normal build and
# under AddressSanitizer + UndefinedBehaviorSanitizer; then the browser build's tests. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --test
jobs=$(nproc)
status=0
run_suite() {  # name, extra cmake arguments...
    local name=$1
    shift
    echo "== $name build =="
    # Tests, tools and benchmarks are left out of the default build; a later -D overrides.
    cmake -S . -B "build/$name" -DORB_TESTS=ON -DORB_BENCH=ON "$@" >/dev/null
    cmake --build "build/$name" -j"$jobs"
    echo "== $name tests =="
    (cd "build/$name" && ctest --output-on-failure -j"$jobs") || status=1
}
run_suite normal -DCMAKE_BUILD_TYPE=RelWithDebInfo
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite sanitize -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON -DORB_BENCH=OFF
echo "== optimised and unoptimised builds compute the same game =="
bash tests/compare_builds.sh build/normal build/sanitize || status=1
# The browser build: its CPU suites under node, the page in headless chromium, and its content
# and traces against the desktop build's.
echo "== browser build of the CPU suites, under node =="
bash tests/web/cpu_suites.sh build/web-tests || status=1
echo "== browser build of the page and the tools =="
emcmake cmake -S . -B build/web-tools -DCMAKE_BUILD_TYPE=Release -DORB_TOOLS=ON >/dev/null
cmake --build build/web-tools -j"$jobs"
echo "== the page in headless chromium =="
(cd tests/web && npm ci --no-audit --no-fund >/dev/null &&
    ORB_SITE="$PWD/../../build/web-tools/site" npm test) || status=1
echo "== the browser build computes what the desktop build computes =="
bash tests/compare_web.sh build/normal build/web-tools || status=1
if [ $status -ne 0 ]; then echo "some tests failed"; fi
exit $status
