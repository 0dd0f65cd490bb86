#!/usr/bin/env bash
# Builds an optimised, unsanitized host tree (build/host-release) and runs every benchmark in it.
# Benchmarks compare against the C library in the same run; read the ratios, not the times.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
cmake -S . -B build/host-release -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build build/host-release -j"${JOBS:-2}"
for benchmark in build/host-release/benchmarks/*; do
    echo "== $(basename "$benchmark")"
    "$benchmark" --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true "$@"
done
