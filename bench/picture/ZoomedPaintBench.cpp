// Painting a zoomed viewport of the largest picture with markers, against
// scaling the same part of the bare picture into the same target; and
// opening a PDF page through the import, against Poppler's rendering alone.
#include "PdfSamples.h"
#include "picture/PdfDocument.h"
#include "picture/ViewZoom.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PdfImport.h"
#include "picture/widgets/PictureSurface.h"

#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <poppler-qt6.h>

#include <random>

using namespace tracella;

namespace {

constexpr int Side = MaxPictureSide;
const QSize ViewportSize(1920, 1080);
constexpr int MarkerCount = 1000;
constexpr int PdfSegments = 10000;

DocumentWindow& window()
{
    static DocumentWindow* w = [] {
        auto* d = new DocumentWindow;
        d->show();
        d->resize(ViewportSize + QSize(d->verticalScrollBar()->sizeHint().width(),
                                       d->imageToolbar()->height() + d->horizontalScrollBar()->sizeHint().height()));
        QImage picture(Side, Side, QImage::Format_RGB32);
        // Rows of changing grey, so that scaling has something to do.
        for (int y = 0; y < Side; ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < Side; ++x)
                row[x] = qRgb((x * 7) & 255, (y * 3) & 255, ((x + y) >> 4) & 255);
        }
        d->surface()->setPicture({std::move(picture), PictureKind::Bitmap, {}});
        d->Form_Resize();
        return d;
    }();
    return *w;
}

// The window at the zoom, scrolled to the middle; the part of the surface in view.
QRect zoomTo(double factor)
{
    DocumentWindow& w = window();
    w.zoomView(ViewZoom(factor));
    w.horizontalScrollBar()->setValue(w.horizontalScrollBar()->maximum() / 2);
    w.verticalScrollBar()->setValue(w.verticalScrollBar()->maximum() / 2);
    return {-w.surface()->pos(), w.viewport()->size()};
}

void BM_ZoomedPaint(benchmark::State& state)
{
    const double factor = state.range(0) / 100.0;
    const QRect view = zoomTo(factor);
    PictureSurface& surface = *window().surface();
    // Every marker in view: the most the paint can meet.
    const QRect inView = surface.zoom().pictureRect(view, surface.pictureSize());
    surface.clearDrawings();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(inView.left(), inView.right()), y(inView.top(), inView.bottom());
    for (int i = 0; i < MarkerCount; ++i)
        surface.drawDot(x(random) * 10.0 / Side, 10.0 - y(random) * 10.0 / Side, Rgb(80, 255, 30));
    QImage target(ViewportSize, QImage::Format_RGB32);
    for (auto _ : state) {
        surface.render(&target, QPoint(), QRegion(view), {});
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1 %").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_ZoomedPaint)->Arg(400)->Arg(25)->Unit(benchmark::kMicrosecond);

void BM_ZoomedPaintBaseline(benchmark::State& state)
{
    const double z = state.range(0) / 100.0;
    const QRect view = zoomTo(z);
    const QImage& picture = window().surface()->picture().image;
    const QRect source = ViewZoom(z).pictureRect(view, picture.size());
    const QRectF scaled(source.x() * z - view.x(), source.y() * z - view.y(), source.width() * z,
                        source.height() * z);
    QImage target(ViewportSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, z < 1.0);
        painter.drawImage(scaled, picture, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ZoomedPaintBaseline)->Arg(400)->Arg(25)->Unit(benchmark::kMicrosecond);

const QString& plotPdf()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("plot.pdf"));
        QFile file(p);
        if (file.open(QIODevice::WriteOnly))
            file.write(test::PlotPdfBytes(1, QSizeF(595, 842), PdfSegments));
        return p;
    }();
    return path;
}

void BM_PdfPage(benchmark::State& state)
{
    for (auto _ : state) {
        PdfOpening opened = OpenPdfPage(plotPdf());
        if (opened.outcome != PdfOpening::Outcome::Opened) {
            state.SkipWithError("the page did not open");
            break;
        }
        benchmark::DoNotOptimize(opened.picture.image.constBits());
    }
}
BENCHMARK(BM_PdfPage)->Unit(benchmark::kMillisecond);

void BM_PdfPageBaseline(benchmark::State& state)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(plotPdf());
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    for (auto _ : state) {
        const QImage image = page->renderToImage(DefaultPdfDpi, DefaultPdfDpi);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PdfPageBaseline)->Unit(benchmark::kMillisecond);

} // namespace
