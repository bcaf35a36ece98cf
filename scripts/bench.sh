#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; prints each benchmark's
# ratio against its baseline, both measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRACELLA_SANITIZE=OFF -DTRACELLA_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
results="$build/results"
mkdir -p "$results"
for program in $(find "$build/bench" -type f -executable -name "bench_*" | sort); do
  name=$(basename "$program")
  "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$name.json" --benchmark_out_format=json >/dev/null
done
python3 scripts/bench_ratios.py "$results"/*.json
