#!/usr/bin/env bash
# Installs what is missing, builds the whole test suite with AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs it; window tests under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRACELLA_SANITIZE=ON -DTRACELLA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_ASSUME_STDERR_HAS_CONSOLE=1
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export HOME="${HOME:-$(mktemp -d)}"

# The picture loader under libFuzzer for a bounded time, before the suite so
# that CTest's summary closes the output.
FUZZ_SECONDS="${FUZZ_SECONDS:-60}" bash scripts/fuzz.sh

xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" \
  ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
