// Painting a viewport of the largest picture with markers, against painting
// the same part of the bare picture; switching the shown curve and painting
// that view; and the memory such a picture takes while it is open in the
// document window, against its decoded size.
#include "support/ProcStatus.h"
#include "support/SampleFiles.h"
#include "app/widgets/AppContext.h"
#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

using namespace tracella;

namespace {

constexpr int Side = MaxPictureSide;
const QSize ViewportSize(1920, 1080);
constexpr int MarkerCount = 1000;

// The peak starts again from the present size.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct OpenPicture {
    DocumentWindow* window = nullptr;
    QRect viewport; // the part of the picture in view, in picture pixels
    // Measured while the picture was opened, before any benchmark ran.
    double peakMiB = 0;   // peak resident memory above that before opening
    double decodedMiB = 0;
};

OpenPicture& openPicture()
{
    static OpenPicture open;
    return open;
}

// Markers in the base frame, either across the whole picture or all in view.
void placeMarkers(PictureSurface& surface, const QRect& area)
{
    surface.clearDrawings();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(area.left(), area.right()), y(area.top(), area.bottom());
    for (int i = 0; i < MarkerCount; ++i)
        surface.drawDot(x(random) * 10.0 / Side, 10.0 - y(random) * 10.0 / Side, Rgb(80, 255, 30));
}

void BM_PicturePaint(benchmark::State& state)
{
    const OpenPicture& open = openPicture();
    PictureSurface& surface = *open.window->surface();
    const bool inView = state.range(0) == 1;
    placeMarkers(surface, inView ? open.viewport : QRect(0, 0, Side, Side));
    QImage target(ViewportSize, QImage::Format_RGB32);
    for (auto _ : state) {
        surface.render(&target, QPoint(), QRegion(open.viewport), {});
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(inView ? "all markers in view" : "markers across the picture");
}
BENCHMARK(BM_PicturePaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PicturePaintBaseline(benchmark::State& state)
{
    const OpenPicture& open = openPicture();
    const QImage& picture = open.window->surface()->picture().image;
    QImage target(ViewportSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(QPoint(0, 0), picture, open.viewport);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PicturePaintBaseline)->Unit(benchmark::kMicrosecond);

// Two curves of 32766 points and ten of 1000, their markers across the
// picture or, for the ten, all in view; the refresh that draws them all
// once is not timed. Then the shown curve goes back and forth between the
// two full ones, the view painted after each switch.
void BM_CurveSwitch(benchmark::State& state)
{
    const OpenPicture& open = openPicture();
    PictureSurface& surface = *open.window->surface();
    app().document = open.window;
    RegisterDataCommands();
    app().curves = CurveDocument();
    std::mt19937 random(13);
    const auto fill = [&random](int points, const QRect& area) {
        std::uniform_int_distribution<int> x(area.left(), area.right()), y(area.top(), area.bottom());
        app().curves.editRows([&](GridRows& rows) {
            for (int n = 1; n <= points; ++n)
                (void)rows.appendRow(AppendPointRowTexts(n, {x(random) * 10.0 / Side, true},
                                                         {10.0 - y(random) * 10.0 / Side, true}));
        });
    };
    const QRect everywhere(0, 0, Side, Side);
    fill(MaxGridRowCount - 1, everywhere);
    (void)app().curves.add(QStringLiteral("Curve 2"));
    fill(MaxGridRowCount - 1, everywhere);
    for (int c = 3; c <= 12; ++c) {
        (void)app().curves.add(QStringLiteral("Curve %1").arg(c));
        fill(MarkerCount, state.range(0) == 1 ? open.viewport : everywhere);
    }
    DataWindow& data = DataForm();
    data.changeCurves([](CurveDocument& curves) { curves.setCurrent(0); });
    QImage target(ViewportSize, QImage::Format_RGB32);
    int shown = 0;
    for (auto _ : state) {
        shown = 1 - shown;
        data.showCurve(shown);
        surface.render(&target, QPoint(), QRegion(open.viewport), {});
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["markers"] = surface.markerCount();
    state.SetLabel(state.range(0) == 1 ? "ten curves in view" : "markers across the picture");
    surface.clearDrawings();
    app().curves = CurveDocument();
}
BENCHMARK(BM_CurveSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Reports the memory taken by opening the picture as counters, so that the
// program's standard output stays Google Benchmark's own.
void BM_PictureOpenMemory(benchmark::State& state)
{
    const OpenPicture& open = openPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(open.peakMiB);
    state.counters["peak_MiB"] = open.peakMiB;
    state.counters["decoded_MiB"] = open.decodedMiB;
    state.counters["peak_over_decoded"] = open.peakMiB / open.decodedMiB;
}
BENCHMARK(BM_PictureOpenMemory)->Iterations(1);

// Writes the picture, opens it in a document window scrolled to its middle,
// paints the viewport and reports the peak memory of all that.
bool openAndMeasure(const QString& path)
{
    const long before = StatusKb("VmRSS:");
    resetPeak();
    LoadedPicture loaded = LoadPictureFile(path);
    if (loaded.error) {
        std::fprintf(stderr, "cannot open the picture: %s\n", qPrintable(loaded.error->description));
        return false;
    }
    const double decodedKb = static_cast<double>(loaded.picture.image.sizeInBytes()) / 1024.0;
    auto* window = new DocumentWindow;
    window->show(); // its load step sizes it first
    window->resize(ViewportSize + QSize(window->verticalScrollBar()->sizeHint().width(),
                                        window->imageToolbar()->height() +
                                            window->horizontalScrollBar()->sizeHint().height()));
    window->surface()->setPicture(std::move(loaded.picture));
    window->Form_Resize();
    window->horizontalScrollBar()->setValue(Side / 2);
    window->verticalScrollBar()->setValue(Side / 2);
    const QImage shown = window->viewport()->grab().toImage();
    QCoreApplication::processEvents();
    const long peak = StatusKb("VmHWM:");

    OpenPicture& open = openPicture();
    open.window = window;
    open.viewport = QRect(-window->surface()->pos(), window->viewport()->size());
    open.peakMiB = (peak - before) / 1024.0;
    open.decodedMiB = decodedKb / 1024.0;
    std::fprintf(stderr, "Picture %d x %d (format %d), viewport %d x %d, %.0f MiB in use before opening it\n", Side,
                 Side, static_cast<int>(window->surface()->picture().image.format()), open.viewport.width(),
                 open.viewport.height(), before / 1024.0);
    return !shown.isNull() && open.viewport.size() == ViewportSize;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("largest.png"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !tracella::bench::WritePngRows(file, QSize(Side, Side), false, [](int, uchar* row) {
                for (int x = 0; x < 3 * Side; x += 3) {
                    row[x] = row[x + 1] = 245;
                    row[x + 2] = 235;
                }
            }))
            return 1;
    }
    if (!openAndMeasure(path))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
