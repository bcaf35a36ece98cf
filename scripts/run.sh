#!/usr/bin/env bash
# Installs what is missing, builds Tracella and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACELLA_TESTS=OFF -DTRACELLA_BENCH=OFF >/dev/null
cmake --build build/release --target tracella
exec build/release/src/tracella "$@"
