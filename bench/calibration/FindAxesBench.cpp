// Find Axes on a 2000 x 1500 figure (axes, ticks, labels, a grid and a
// curve), against one Tesseract recognition of the same whole picture.
#include "calibration/AxisProposal.h"
#include "calibration/LabelOcr.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>
#include <tesseract/baseapi.h>

#include <cmath>
#include <memory>

namespace tracella {
namespace {

const QImage& Figure()
{
    static const QImage figure = [] {
        QImage image(2000, 1500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF plot(200, 100, 1700, 1200);
        p.setPen(QPen(QColor(220, 220, 220), 1));
        for (int i = 1; i < 10; ++i) {
            p.drawLine(QPointF(plot.left() + i * plot.width() / 10, plot.top()),
                       QPointF(plot.left() + i * plot.width() / 10, plot.bottom()));
            p.drawLine(QPointF(plot.left(), plot.top() + i * plot.height() / 10),
                       QPointF(plot.right(), plot.top() + i * plot.height() / 10));
        }
        p.setPen(QPen(Qt::black, 3));
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
        p.drawLine(plot.bottomLeft(), plot.topLeft());
        QFont font = p.font();
        font.setPixelSize(32);
        p.setFont(font);
        for (int i = 0; i <= 10; ++i) {
            const double x = plot.left() + i * plot.width() / 10, y = plot.bottom() - i * plot.height() / 10;
            p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 15));
            p.drawLine(QPointF(plot.left() - 15, y), QPointF(plot.left(), y));
            p.drawText(QRectF(x - 60, plot.bottom() + 20, 120, 40), Qt::AlignCenter, QString::number(i * 2));
            p.drawText(QRectF(plot.left() - 140, y - 20, 115, 40), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(i * 50));
        }
        p.setPen(QPen(QColor(200, 30, 190), 4));
        QPainterPath curve(QPointF(plot.left() + 20, plot.center().y()));
        for (double x = plot.left() + 20; x < plot.right() - 20; x += 2)
            curve.lineTo(x, plot.center().y() + 400 * std::sin(x / 200));
        p.drawPath(curve);
        return image;
    }();
    return figure;
}

void BM_FindAxes(benchmark::State& state)
{
    LabelOcr ocr;
    int agreeing = 0;
    for (auto _ : state) {
        const AxisProposal proposal = ProposeAxes(Figure(), {}, ocr);
        agreeing = (proposal.x.kind ? 1 : 0) + (proposal.y.kind ? 1 : 0);
        benchmark::DoNotOptimize(proposal.x.firstValue);
    }
    state.counters["axes_proposed"] = agreeing;
}
BENCHMARK(BM_FindAxes)->Unit(benchmark::kMillisecond);

void BM_FindAxesBaseline(benchmark::State& state)
{
    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
        state.SkipWithError("no Tesseract language data");
        return;
    }
    const QImage grey = Figure().convertToFormat(QImage::Format_Grayscale8);
    for (auto _ : state) {
        api.SetImage(grey.constBits(), grey.width(), grey.height(), 1, static_cast<int>(grey.bytesPerLine()));
        const std::unique_ptr<char[]> text(api.GetUTF8Text());
        benchmark::DoNotOptimize(text.get());
    }
    api.End();
}
BENCHMARK(BM_FindAxesBaseline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tracella

int main(int argc, char** argv)
{
    // The figure's text needs fonts, which need an application.
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
