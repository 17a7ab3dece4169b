#!/usr/bin/env bash
# Builds the optimised configuration and runs every benchmark. Reports only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=OFF -DKAV_BUILD_BENCH=ON
cmake --build build/release -j "$(nproc)"
for b in build/release/bench/*/bench_*; do
    [[ -x "$b" ]] || continue
    echo "== $b"
    "$b" "$@"
done
# kavtool's start-up and its batch form, against a Qt Core floor.
bash bench/tools/kavtool_bench.sh build/release
