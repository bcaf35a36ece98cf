#include "../GridAppendBaseline.h"
#include "data/DataFileFormat.h"
#include "data/DataFileWriting.h"
#include "data/GridEditing.h"
#include "SortBaseline.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <random>
#include <unistd.h>

using namespace tracella;

namespace {

using bench::PickedPoints;

const GridRows& FullGrid()
{
    static const GridRows rows = [] {
        GridRows grid;
        for (const auto& [x, y] : PickedPoints()) {
            benchmark::DoNotOptimize(grid.appendRow(AppendPointRowTexts(grid.rowCount(), {x, true}, {y, true})));
        }
        return grid;
    }();
    return rows;
}

DataFileLayout LayoutOf(const benchmark::State& state)
{
    return static_cast<DataFileLayout>(state.range(0));
}

void LabelLayout(benchmark::State& state)
{
    static const char* const names[] = {"space", "tab", "comma"};
    state.SetLabel(names[state.range(0)]);
}

QTemporaryDir& BenchFolder()
{
    static QTemporaryDir folder;
    return folder;
}

void BM_SaveGrid(benchmark::State& state)
{
    const GridRows& rows = FullGrid();
    const QString path = BenchFolder().filePath("grid.txt");
    for (auto _ : state) {
        if (WriteDataFile(path, DataFileBytes(rows, LayoutOf(state)))) {
            state.SkipWithError("write failed");
        }
    }
    LabelLayout(state);
}

// The bytes ready in memory, written with one plain write.
void BM_SaveGridBaseline(benchmark::State& state)
{
    const QByteArray bytes = DataFileBytes(FullGrid(), LayoutOf(state));
    const QByteArray path = QFile::encodeName(BenchFolder().filePath("baseline.txt"));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const bool written = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
        if (fd < 0 || ::close(fd) != 0 || !written) {
            state.SkipWithError("write failed");
        }
    }
    LabelLayout(state);
}

// The bytes ready in memory, through the safe replacement: what the
// replacement itself costs, without the formatting.
void BM_SavePreparedBytes(benchmark::State& state)
{
    const QByteArray bytes = DataFileBytes(FullGrid(), LayoutOf(state));
    const QString path = BenchFolder().filePath("prepared.txt");
    for (auto _ : state) {
        if (WriteDataFile(path, bytes)) {
            state.SkipWithError("write failed");
        }
    }
    LabelLayout(state);
}

void BM_FormatGrid(benchmark::State& state)
{
    const GridRows& rows = FullGrid();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DataFileBytes(rows, LayoutOf(state)));
    }
    LabelLayout(state);
}

void BM_AppendPointRows(benchmark::State& state)
{
    const auto points = PickedPoints();
    for (auto _ : state) {
        GridRows rows;
        for (const auto& [x, y] : points) {
            benchmark::DoNotOptimize(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {x, true}, {y, true})));
        }
        benchmark::DoNotOptimize(rows);
    }
}

// The three texts of every row and nothing else.
void BM_AppendPointRowsBaseline(benchmark::State& state)
{
    const auto points = PickedPoints();
    for (auto _ : state) {
        int n = 1;
        for (const auto& [x, y] : points) {
            benchmark::DoNotOptimize(NumberText(n++));
            benchmark::DoNotOptimize(NumberText(x));
            benchmark::DoNotOptimize(NumberText(y));
        }
    }
}

void BM_SortRows(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        GridRows rows = FullGrid();
        state.ResumeTiming();
        SortGridRows(rows, SortKey::X);
        benchmark::DoNotOptimize(rows);
    }
}

void BM_SortGridBaseline(benchmark::State& state)
{
    std::vector<std::pair<double, double>> unsorted;
    for (const auto& [x, y] : PickedPoints()) {
        unsorted.emplace_back(x, y);
    }
    SortPairsBaseline(state, unsorted);
}

void BM_RemoveRepeated(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        GridRows rows = FullGrid();
        state.ResumeTiming();
        RemoveRepeatedRows(rows, SortKey::X);
        benchmark::DoNotOptimize(rows);
    }
}

} // namespace

BENCHMARK(BM_SaveGrid)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGridBaseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePreparedBytes)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatGrid)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendPointRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendPointRowsBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortGridBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveRepeated)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
