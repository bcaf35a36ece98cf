// Opening large pictures through the import's road (decoded on a worker,
// ready to paint) against the bare libraries: zlib inflating the PNG's image
// data, libjpeg-turbo decoding at its fastest settings; Qt's own PNG reader
// for comparison; and how late the window's events run meanwhile.
#include "support/FreshMemory.h"
#include "support/PlotRows.h"
#include "support/ProcStatus.h"
#include "support/SampleFiles.h"
#include "picture/PictureJob.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/PictureWait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtEndian>
#include <benchmark/benchmark.h>

#include <atomic>
#include <future>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include <jpeglib.h>
#include <zlib.h>

using namespace tracella;

namespace {

const QSize PngSize(20000, 20000);
const QSize JpegSize(8000, 8000);

struct Files {
    QTemporaryDir dir;
    QString png, jpeg;
    QByteArray pngImageData; // the IDAT chunks' contents, joined
    QByteArray jpegBytes;
};

Files& files()
{
    static Files f;
    return f;
}

QByteArray imageDataOf(const QByteArray& png)
{
    QByteArray data;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = static_cast<qsizetype>(qFromBigEndian<quint32>(png.constData() + at));
        if (png.mid(at + 4, 4) == "IDAT")
            data += png.mid(at + 8, length);
        at += 12 + length;
    }
    return data;
}

bool writeFiles()
{
    Files& f = files();
    f.png = f.dir.filePath(QStringLiteral("plot.png"));
    f.jpeg = f.dir.filePath(QStringLiteral("plot.jpg"));
    QFile png(f.png);
    if (!png.open(QIODevice::WriteOnly) ||
        !bench::WritePngRows(png, PngSize, false, [](int y, uchar* row) { bench::PlotRow(PngSize.width(), y, row); }))
        return false;
    png.close();
    if (!bench::WriteRgbJpeg(f.jpeg, JpegSize, 90, [](int y, uchar* row) { bench::PlotRow(JpegSize.width(), y, row); }))
        return false;
    QFile readPng(f.png), readJpeg(f.jpeg);
    if (!readPng.open(QIODevice::ReadOnly) || !readJpeg.open(QIODevice::ReadOnly))
        return false;
    f.pngImageData = imageDataOf(readPng.readAll());
    f.jpegBytes = readJpeg.readAll();
    std::fprintf(stderr, "PNG %d x %d: %lld bytes; JPEG %d x %d: %lld bytes\n", PngSize.width(), PngSize.height(),
                 static_cast<long long>(readPng.size()), JpegSize.width(), JpegSize.height(),
                 static_cast<long long>(f.jpegBytes.size()));
    return true;
}

// Runs `work` on the pool thread that decodes the import's pictures, so that
// every side allocates its memory where the road does.
template <typename Work>
auto onPoolThread(Work work)
{
    std::packaged_task<decltype(work())()> task(std::move(work));
    auto result = task.get_future();
    QThreadPool::globalInstance()->start([&task] { task(); });
    return result.get();
}

// Untimed, on the pool thread: see WarmFreshMemory.
void warmFreshMemory(benchmark::State& state)
{
    state.PauseTiming();
    onPoolThread([] {
        bench::WarmFreshMemory(PngSize);
        return true;
    });
    state.ResumeTiming();
}

// Opens through the import's road: the file decoded on a worker.
LoadedPicture openOnWorker(const QString& path)
{
    const auto job = PictureJob::loadFile(path);
    while (!job->waitFor(1000)) {
    }
    return job->take();
}

// The first open of each run also measures the peak memory it takes.
void openThroughTheRoad(benchmark::State& state, const QString& path, bool warm)
{
    double peakOverDecoded = 0;
    for (auto _ : state) {
        if (warm)
            warmFreshMemory(state);
        const bool measure = peakOverDecoded == 0;
        const long before = StatusKb("VmRSS:");
        if (measure)
            std::ofstream("/proc/self/clear_refs") << "5";
        const LoadedPicture loaded = openOnWorker(path);
        if (loaded.error) {
            state.SkipWithError(qPrintable(loaded.error->description));
            return;
        }
        benchmark::DoNotOptimize(loaded.picture.image.constBits());
        if (measure)
            peakOverDecoded = (StatusKb("VmHWM:") - before) * 1024.0 /
                              static_cast<double>(loaded.picture.image.sizeInBytes());
    }
    state.counters["peak_over_decoded"] = peakOverDecoded;
}

void BM_OpenPng(benchmark::State& state)
{
    openThroughTheRoad(state, files().png, true);
}
BENCHMARK(BM_OpenPng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenPngQt(benchmark::State& state)
{
    for (auto _ : state) {
        warmFreshMemory(state);
        const QString failure = onPoolThread([] {
            QImageReader reader(files().png);
            QImage image;
            return reader.read(&image) ? QString() : reader.errorString();
        });
        if (!failure.isEmpty()) {
            state.SkipWithError(qPrintable(failure));
            return;
        }
    }
}
BENCHMARK(BM_OpenPngQt)->Unit(benchmark::kMillisecond)->UseRealTime();

// The image data inflated by zlib alone, unfiltered, into new memory of the
// same kind as the picture's, on the road's thread.
bool inflatePngData()
{
    const QByteArray& data = files().pngImageData;
    const int rowBytes = 1 + 3 * PngSize.width();
    QImage inflated = NewDecodedImage(QSize(rowBytes, PngSize.height()), QImage::Format_Grayscale8);
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = static_cast<uInt>(data.size());
    int status = Z_OK;
    for (int y = 0; y < PngSize.height() && status == Z_OK; ++y) {
        z.next_out = inflated.scanLine(y);
        z.avail_out = static_cast<uInt>(rowBytes);
        while (z.avail_out > 0 && status == Z_OK)
            status = inflate(&z, Z_NO_FLUSH);
    }
    const auto produced = static_cast<qint64>(z.total_out);
    inflateEnd(&z);
    benchmark::DoNotOptimize(inflated.constBits());
    return status == Z_STREAM_END && produced == static_cast<qint64>(rowBytes) * PngSize.height();
}

void BM_OpenPngBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        warmFreshMemory(state);
        if (!onPoolThread(inflatePngData)) {
            state.SkipWithError("the image data did not inflate");
            return;
        }
    }
}
BENCHMARK(BM_OpenPngBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenJpeg(benchmark::State& state)
{
    openThroughTheRoad(state, files().jpeg, false);
}
BENCHMARK(BM_OpenJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// libjpeg-turbo from memory into a new picture of QImage's RGB32 layout (the
// same kind of memory), with the library's fastest settings.
void BM_OpenJpegBaseline(benchmark::State& state)
{
    const QByteArray& bytes = files().jpegBytes;
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRX;
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
        info.do_block_smoothing = FALSE;
        jpeg_start_decompress(&info);
        QImage pixels = NewDecodedImage(
            QSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height)), QImage::Format_RGB32);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.scanLine(static_cast<int>(info.output_scanline));
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.constBits());
    }
}
BENCHMARK(BM_OpenJpegBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// An event posted every 16 ms from another thread while the window waits
// for the PNG: the longest time one waited to be handled.
class Stamped final : public QEvent {
public:
    explicit Stamped(qint64 postedNs) : QEvent(QEvent::User), postedNs(postedNs) {}
    qint64 postedNs;
};

class DelayMeter final : public QObject {
public:
    explicit DelayMeter(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 longestNs = 0;
    int handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        longestNs = std::max(longestNs, clock_.nsecsElapsed() - static_cast<Stamped*>(e)->postedNs);
        ++handled;
        return true;
    }

private:
    const QElapsedTimer& clock_;
};

void BM_OpenPngEventDelay(benchmark::State& state)
{
    double longestMs = 0;
    int handled = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        DelayMeter meter(clock);
        std::atomic<bool> decoding{true};
        std::thread poster([&] {
            while (decoding) {
                QCoreApplication::postEvent(&meter, new Stamped(clock.nsecsElapsed()));
                std::this_thread::sleep_for(std::chrono::milliseconds(16));
            }
        });
        const auto job = PictureJob::loadFile(files().png);
        const std::optional<LoadedPicture> loaded = AwaitPicture(*job);
        decoding = false;
        poster.join();
        QCoreApplication::sendPostedEvents(&meter);
        if (!loaded || loaded->error) {
            state.SkipWithError("the picture did not open");
            return;
        }
        longestMs = std::max(longestMs, meter.longestNs / 1e6);
        handled += meter.handled;
    }
    state.counters["longest_delay_ms"] = longestMs;
    state.counters["events"] = handled;
}
BENCHMARK(BM_OpenPngEventDelay)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    AllowLargePictures();
    if (!writeFiles())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
