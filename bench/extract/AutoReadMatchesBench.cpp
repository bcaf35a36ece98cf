// The cost of found points in a sweep of the running program: every match
// goes through RecordPoint into the shown grid window and leaves a marker on
// the shown picture. Run it with QT_QPA_PLATFORM=offscreen where there is no
// display.
#include "../GridAppendBaseline.h"

#include "app/core/AppState.h"
#include "app/services/QtServices.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Startup.h"
#include "data/GridEditing.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "extract/widgets/AutoRead.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace tracella {
namespace {

// 2000 x 1500 pixels swept one sample per pixel (3 million samples) with a
// wavy curve 15 pixels thick across: 30000 matches.
constexpr int PictureWidth = 2000;
constexpr int PictureHeight = 1500;
constexpr int MatchesPerColumn = 15;
constexpr int Matches = PictureWidth * MatchesPerColumn;

// The pixel row of the k-th match in column x, from the top of the curve down.
int MatchRow(int x, int k)
{
    return 700 + static_cast<int>(std::lround(500 * std::sin(x / 150.0))) + k;
}

QImage CurvePicture()
{
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    for (int x = 0; x < PictureWidth; ++x)
        for (int k = 0; k < MatchesPerColumn; ++k)
            picture.setPixel(x, MatchRow(x, k), qRgb(250, 0, 0));
    return picture;
}

// The program as it runs: main window, grid and document shown.
MainWindow& Program()
{
    static MainWindow* main = [] {
        InstallQtServices();
        MainWindow* created = CreateMainWindow();
        created->showMaximized();
        return created;
    }();
    return *main;
}

void ShowInProgram(const QImage& picture)
{
    Program();
    app().document->surface()->setPicture({picture, PictureKind::Bitmap, {}});
    QCoreApplication::processEvents();
}

void EmptyGridAndPicture()
{
    app().data->grid().replaceRows(RemoveAllRows);
    app().document->surface()->clearDrawings();
    QCoreApplication::processEvents();
}

void BM_AutoReadMatches(benchmark::State& state)
{
    ShowInProgram(CurvePicture());
    AppState& s = appState();
    s.ARCols = PictureWidth;
    s.ARRows = PictureHeight;
    s.ARDataColor = Rgb(250, 0, 0);
    for (auto _ : state) {
        state.PauseTiming();
        EmptyGridAndPicture();
        state.ResumeTiming();
        const DocumentSweep sweep = SweepDocumentPicture();
        // The grid and the picture show what came in.
        QCoreApplication::processEvents();
        if (sweep.found != Matches || app().data->grid().rowCount() != Matches + 1)
            state.SkipWithError("the sweep did not store every match");
    }
    state.counters["markers"] = app().document->surface()->markerCount();
}
BENCHMARK(BM_AutoReadMatches)->Unit(benchmark::kMillisecond)->UseRealTime();

// The "Guide me" density, one sample every two pixels, on a 7000 x 10000
// scan: 17.5 million samples, of which 100 match.
void BM_AutoReadLargeScan(benchmark::State& state)
{
    constexpr int width = 7000;
    constexpr int height = 10000;
    {
        QImage scan(width, height, QImage::Format_RGB32);
        scan.fill(qRgb(255, 255, 255));
        for (int k = 0; k < 100; ++k)
            scan.setPixel(k * 60, k * 90, qRgb(250, 0, 0));
        ShowInProgram(scan);
    }
    AppState& s = appState();
    s.ARCols = width / 2;
    s.ARRows = height / 2;
    s.ARDataColor = Rgb(250, 0, 0);
    for (auto _ : state) {
        state.PauseTiming();
        EmptyGridAndPicture();
        state.ResumeTiming();
        const DocumentSweep sweep = SweepDocumentPicture();
        QCoreApplication::processEvents();
        if (sweep.found != 100)
            state.SkipWithError("the sweep did not store every match");
    }
    ShowInProgram({});
}
BENCHMARK(BM_AutoReadLargeScan)->Unit(benchmark::kMillisecond)->UseRealTime();

// The grid's own baseline (random points of single precision, as picked
// with the mouse) for as many rows as the sweep stores.
void BM_GridAppendBaseline(benchmark::State& state)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-1000, 1000);
    std::vector<std::pair<float, float>> points(Matches);
    for (auto& point : points)
        point = {value(random), value(random)};
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::FormatPointRows(points));
}
BENCHMARK(BM_GridAppendBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tracella
