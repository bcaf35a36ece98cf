#include "../GridAppendBaseline.h"
#include "SortBaseline.h"

#include "app/widgets/AppContext.h"
#include "data/EditHistory.h"
#include "data/GridEditing.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>
#include <array>
#include <random>

using namespace tracella;

namespace {

using bench::PickedPoints;

// The same points from the largest X down.
std::vector<std::pair<float, float>> ReverseXPoints()
{
    auto points = PickedPoints();
    std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    return points;
}

// The data window as the user sees it, shown once for all rounds.
DataWindow& ShownWindow()
{
    static DataWindow* const window = [] {
        auto* w = new DataWindow;
        w->Form_Load();
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *window;
}

// Lets the scheduled repaints happen.
void Settle()
{
    QCoreApplication::processEvents();
}

void BM_GridAppend(benchmark::State& state)
{
    DataWindow& window = ShownWindow();
    const auto points = PickedPoints();
    for (auto _ : state) {
        state.PauseTiming();
        window.grid().replaceRows(RemoveAllRows);
        Settle();
        state.ResumeTiming();
        for (const auto& [x, y] : points) {
            if (window.AppendPointRow({x, true}, {y, true}))
                state.SkipWithError("the grid refused a row");
        }
        Settle();
    }
}

// The same texts into a plain vector and nothing else.
void BM_GridAppendBaseline(benchmark::State& state)
{
    const auto points = PickedPoints();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::FormatPointRows(points));
}

// Rows as a grid filled point by point holds them: texts of their own, laid
// out in memory in row order. Freed memory is handed back first, or the new
// texts would take the places of the sorted ones, scattered over the rows.
void RefillInRowOrder(GridModel& grid, const GridRows& source)
{
    grid.replaceRows([&source](GridRows& rows) {
        rows = GridRows();
        malloc_trim(0);
        for (int r = 1; r < source.rowCount(); ++r) {
            GridRow row;
            for (int c = 0; c < GridColumnCount; ++c)
                row[c] = QString(source.cell(r, c).constData(), source.cell(r, c).size());
            if (rows.appendRow(std::move(row)))
                return;
        }
    });
}

// The picked points from the largest X down, as grid rows.
GridRows ReversedGrid(benchmark::State& state)
{
    GridRows reversed;
    for (const auto& [x, y] : ReverseXPoints()) {
        if (reversed.appendRow(AppendPointRowTexts(reversed.rowCount(), {x, true}, {y, true})))
            state.SkipWithError("the grid refused a row");
    }
    return reversed;
}

// Read, sort and write back through the shown grid, with the model's signal
// to the view; the repaint it schedules is not counted.
void BM_SortGrid(benchmark::State& state)
{
    DataWindow& window = ShownWindow();
    window.setSortOnX(true);
    const GridRows reversed = ReversedGrid(state);
    for (auto _ : state) {
        state.PauseTiming();
        Settle();
        RefillInRowOrder(window.grid(), reversed);
        app().history.clear(); // each round's grid is fresh texts: kept, they would pile up
        Settle();
        state.ResumeTiming();
        window.sortRows();
    }
}

// Undo of that sort, as Undo in the Data menu runs it: the rows as they
// were, and the view starts afresh.
void BM_UndoSort(benchmark::State& state)
{
    DataWindow& window = ShownWindow();
    window.setSortOnX(true);
    const GridRows reversed = ReversedGrid(state);
    EditHistory& history = app().history;
    for (auto _ : state) {
        state.PauseTiming();
        Settle();
        RefillInRowOrder(window.grid(), reversed);
        history.clear(); // each round's grid is fresh texts: kept, they would pile up
        {
            const HistoryStep step(history, QStringLiteral("Sort"));
            window.sortRows();
        }
        Settle();
        state.ResumeTiming();
        window.changeCurves([&history](CurveDocument&) { history.undo(); });
    }
}

void BM_SortGridBaseline(benchmark::State& state)
{
    std::vector<std::pair<double, double>> unsorted;
    for (const auto& [x, y] : ReverseXPoints())
        unsorted.emplace_back(x, y);
    SortPairsBaseline(state, unsorted);
}

} // namespace

BENCHMARK(BM_GridAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridAppendBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortGridBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoSort)->Unit(benchmark::kMillisecond);
