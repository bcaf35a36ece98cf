#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <utility>
#include <vector>

// What sorting the points costs at the least: a stable sort of key/other
// pairs of doubles, each round on a fresh copy made outside the timing.
inline void SortPairsBaseline(benchmark::State& state, const std::vector<std::pair<double, double>>& unsorted)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto pairs = unsorted;
        state.ResumeTiming();
        std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        benchmark::DoNotOptimize(pairs);
    }
}
