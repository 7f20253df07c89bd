#!/usr/bin/env bash
# Builds the CPU suites with em++ (emscripten configure with -DORB_TESTS=ON) into BUILD_DIR
# (default build/web-tests) and runs them under node through ctest. Prints how many tests ran;
# exits non-zero on a failure or when no test ran.
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=${1:-build/web-tests}
emcmake cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
log="$dir/cpu_suites.log"
status=0
(cd "$dir" && ctest --verbose) >"$log" 2>&1 || status=1
# gtest's own summary: "[==========] N tests from M test suites ran."
summary=$(grep -ao '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" || true)
passed=$(grep -ao 'PASSED  \] [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
if [ $status -ne 0 ] || [ -z "$summary" ]; then
    grep -a -E '\[  FAILED  \] [A-Za-z]|Aborted|exiting due to' "$log" | sed 's/^[0-9]*: //' |
        head -40 || true
    echo "browser CPU suites: FAILED (${summary:-no test ran}; log in $log)"
    exit 1
fi
echo "browser CPU suites: $summary under node, $passed passed"
