// View > Refresh of a full grid at the largest dot size the options take,
// through the running program's windows: every marker drawn afresh and the
// picture's view painted. The baseline fills the whole picture once per
// point with QPainter, which is what drawing such dots plainly would cost.
// Run it with QT_QPA_PLATFORM=offscreen where there is no display.
#include "app/core/AppState.h"
#include "app/services/QtServices.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Startup.h"
#include "data/GridEditing.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QCoreApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <random>

namespace tracella {
namespace {

const QSize PictureSize(4000, 3000);
constexpr int Points = MaxGridRowCount - 1;
constexpr int LargestDot = 32767;

// The program with the picture shown and a full grid of points on it, in
// the frame the program starts with.
void ProgramWithFullGrid()
{
    static const bool ready = [] {
        InstallQtServices();
        MainWindow* main = CreateMainWindow();
        main->showMaximized();
        QImage picture(PictureSize, QImage::Format_RGB32);
        picture.fill(qRgb(255, 255, 255));
        PictureSurface& surface = *app().document->surface();
        surface.setPicture({picture, PictureKind::Bitmap, {}});
        surface.setPenWidth(LargestDot);
        std::mt19937 random(5);
        std::uniform_real_distribution<float> value(0, 10);
        app().data->grid().replaceRows([&random, &value](GridRows& rows) {
            for (int n = 1; n <= Points; ++n)
                (void)rows.appendRow(AppendPointRowTexts(n, {value(random), true}, {value(random), true}));
        });
        QCoreApplication::processEvents();
        return true;
    }();
    (void)ready;
}

void BM_RefreshLargeDots(benchmark::State& state)
{
    ProgramWithFullGrid();
    for (auto _ : state) {
        RunCommand(QStringLiteral("mnuViewRefresh"));
        app().document->surface()->repaint();
    }
    if (app().document->surface()->markerCount() != Points)
        state.SkipWithError("a point lost its marker");
    state.counters["markers"] = app().document->surface()->markerCount();
}
BENCHMARK(BM_RefreshLargeDots)->Unit(benchmark::kMillisecond)->UseRealTime();

// One round is minutes long: once is enough to compare with.
void BM_RefreshLargeDotsBaseline(benchmark::State& state)
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&picture);
        for (int i = 0; i < Points; ++i)
            painter.fillRect(picture.rect(), i % 2 ? Qt::red : Qt::blue);
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RefreshLargeDotsBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);

} // namespace
} // namespace tracella
