// The trace's live preview of a 1920 x 1080 view, when the tolerance or the
// colour changes, against drawing the same view of the picture.
#include "extract/widgets/TracePreviewLayer.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

using namespace tracella;

namespace {

const QSize ViewportSize(1920, 1080);
const QSize PlotSize(4000, 3000);
const Colour CurveColours[] = {Rgb(220, 20, 30), Rgb(20, 60, 220)};

// A scanned plot: grid lines, axes, four antialiased curves and noise.
QImage ScannedPlot()
{
    QImage picture(PlotSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setPen(QPen(QColor(200, 200, 200), 1));
        for (int x = 0; x < PlotSize.width(); x += 50)
            p.drawLine(x, 0, x, PlotSize.height());
        for (int y = 0; y < PlotSize.height(); y += 50)
            p.drawLine(0, y, PlotSize.width(), y);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(100, 100, PlotSize.width() - 200, PlotSize.height() - 200);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor colours[] = {QColor(220, 20, 30), QColor(20, 60, 220), QColor(30, 160, 40), QColor(0, 0, 0)};
        for (int c = 0; c < 4; ++c) {
            p.setPen(QPen(colours[c], 3));
            QPainterPath path(QPointF(100, 1500));
            for (double x = 100; x <= PlotSize.width() - 100; x += 2)
                path.lineTo(x, 1500 + (300 + 250 * c) * std::sin(x / (300.0 + 90 * c) + c));
            p.drawPath(path);
        }
    }
    std::mt19937 random(9);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < PlotSize.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < PlotSize.width(); ++x) {
            auto channel = [&](int v) { return std::clamp(v + noise(random), 0, 255); };
            line[x] = qRgb(channel(qRed(line[x])), channel(qGreen(line[x])), channel(qBlue(line[x])));
        }
    }
    return picture;
}

struct PreviewView {
    DocumentWindow* window;
    TracePreviewLayer* layer;
    QRect view; // the part of the surface in view
};

// The window at 100 %, scrolled to the middle of the plot.
const PreviewView& View()
{
    static const PreviewView v = [] {
        auto* w = new DocumentWindow;
        w->show();
        w->resize(ViewportSize + QSize(w->verticalScrollBar()->sizeHint().width(),
                                       w->imageToolbar()->height() + w->horizontalScrollBar()->sizeHint().height()));
        w->surface()->setPicture({ScannedPlot(), PictureKind::Bitmap, {}});
        w->Form_Resize();
        w->horizontalScrollBar()->setValue(w->horizontalScrollBar()->maximum() / 2);
        w->verticalScrollBar()->setValue(w->verticalScrollBar()->maximum() / 2);
        auto* layer = new TracePreviewLayer(w->surface());
        layer->show();
        return PreviewView{w, layer, QRect(-w->surface()->pos(), w->viewport()->size())};
    }();
    return v;
}

// Arg 0: the tolerance changes, as while its box is stepped; arg 1: the colour
// changes, which works out every distance in view again.
void BM_TracePreview(benchmark::State& state)
{
    const PreviewView& v = View();
    const bool newColour = state.range(0) == 1;
    QImage target(ViewportSize, QImage::Format_RGB32);
    int frame = 0;
    for (auto _ : state) {
        ++frame;
        v.layer->setMatch(CurveColours[newColour ? frame % 2 : 0], newColour ? 40 : 40 + frame % 2);
        v.layer->render(&target, QPoint(), QRegion(v.view), {});
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(newColour ? "colour" : "tolerance");
}
BENCHMARK(BM_TracePreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TracePreviewBaseline(benchmark::State& state)
{
    const PreviewView& v = View();
    QImage target(ViewportSize, QImage::Format_RGB32);
    for (auto _ : state) {
        v.window->surface()->render(&target, QPoint(), QRegion(v.view), QWidget::DrawWindowBackground);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_TracePreviewBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
