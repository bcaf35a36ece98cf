#!/usr/bin/env bash
# Builds the picture loader's libFuzzer target with clang and runs it for a
# bounded time from the seed corpus in tests/picture/fuzz_corpus.
#   FUZZ_BUILD_DIR  build folder (default build/fuzz)
#   FUZZ_SECONDS    total running time (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${FUZZ_BUILD_DIR:-build/fuzz}"
seconds="${FUZZ_SECONDS:-60}"
clang_cc="$(command -v clang-14 || command -v clang)"
clang_cxx="$(command -v clang++-14 || command -v clang++)"

# Logic only; the loader and what it links are instrumented for coverage
# and AddressSanitizer, the target itself links libFuzzer's main.
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER="$clang_cc" -DCMAKE_CXX_COMPILER="$clang_cxx" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address" \
  -DTRACELLA_FUZZ=ON -DTRACELLA_GUI=OFF -DTRACELLA_TESTS=ON -DTRACELLA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target PictureLoaderFuzz

# New findings go to a working corpus in the build folder; the seeds stay as they are.
work="$build/fuzz_corpus"
artifacts="$build/fuzz_artifacts"
mkdir -p "$work" "$artifacts"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
"$build/tests/picture/PictureLoaderFuzz" "$work" tests/picture/fuzz_corpus \
  -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
  -print_final_stats=1 -artifact_prefix="$artifacts/"
