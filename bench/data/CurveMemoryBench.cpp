// The memory 100 full curves take, against the memory of their cell texts.
#include "../GridAppendBaseline.h"
#include "data/CurveDocument.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <string>

using namespace tracella;

namespace {

constexpr int CurveCount = 100;

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Counters: the resident memory the curves add, over the texts' own memory
// (each QString and its block of characters) and over their characters alone.
void BM_CurveMemory(benchmark::State& state)
{
    const auto points = bench::PickedPoints();
    for (auto _ : state) {
        malloc_trim(0);
        const long before = ResidentKb();
        double texts = 0, characters = 0;
        {
            CurveDocument curves;
            for (int c = 0; c < CurveCount; ++c) {
                if (c > 0)
                    (void)curves.add(curves.freeName());
                curves.editRows([&](GridRows& rows) {
                    for (const auto& [x, y] : points)
                        (void)rows.appendRow(AppendPointRowTexts(rows.rowCount(), {x, true}, {y, true}));
                });
                for (int r = 1; r < curves.rows().rowCount(); ++r) {
                    for (const QString& cell : curves.rows().row(r)) {
                        // The object, then the block: a header of 16 bytes and the
                        // characters with their terminating zero.
                        texts += sizeof(QString) + 16 + 2.0 * (cell.capacity() + 1);
                        characters += 2.0 * cell.size();
                    }
                }
            }
            const double added = (ResidentKb() - before) * 1024.0;
            state.counters["added_MiB"] = added / (1 << 20);
            state.counters["over_texts"] = added / texts;
            state.counters["over_characters"] = added / characters;
            benchmark::DoNotOptimize(curves.count());
        }
    }
}
BENCHMARK(BM_CurveMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
