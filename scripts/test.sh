#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the sanitized test
# configuration (AddressSanitizer + UndefinedBehaviorSanitizer) and runs ctest.
# The benchmarks are built too (not run), so that none stops compiling unseen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAV_SANITIZE=ON -DKAV_WERROR=ON \
    -DKAV_BUILD_TESTS=ON -DKAV_BUILD_BENCH=ON
cmake --build build/test -j "$jobs"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
ctest --test-dir build/test --output-on-failure -j "$jobs" --timeout 300
