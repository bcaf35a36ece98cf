// Saving and opening a project of the largest picture and four full curves,
// against writing the same bytes and texts as one file, and against opening
// the picture alone through the import.
#include "GridAppendBaseline.h"
#include "support/FreshMemory.h"
#include "support/PlotRows.h"
#include "support/SampleFiles.h"
#include "data/CurveDocument.h"
#include "data/DataFileWriting.h"
#include "data/ProjectStorage.h"
#include "picture/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

using namespace tracella;

namespace {

const QSize PictureSize(20000, 20000);
constexpr int CurveCount = 4;

struct Fixture {
    QTemporaryDir dir;
    QString png, project;
    Project saved;
    bool ready = false;
};

Fixture& fixture()
{
    static Fixture f = [] {
        Fixture made;
        made.png = made.dir.filePath(QStringLiteral("plot.png"));
        made.project = made.dir.filePath(QStringLiteral("plot.tracella"));
        QFile png(made.png);
        if (!png.open(QIODevice::WriteOnly) ||
            !bench::WritePngRows(png, PictureSize, false,
                                [](int y, uchar* row) { bench::PlotRow(PictureSize.width(), y, row); }))
            return made;
        png.close();
        if (!png.open(QIODevice::ReadOnly))
            return made;
        Project& p = made.saved;
        p.picture = {PictureSource::File, made.png, png.readAll(), 0, 0};
        p.state.applySettingsDefaults();
        const auto rows = bench::FormatPointRows(bench::PickedPoints());
        for (int c = 0; c < CurveCount; ++c)
            p.curves.push_back({QStringLiteral("Curve %1").arg(c + 1), std::nullopt, QString(),
                                DataFileLayout::Space, {rows.begin(), rows.end()}});
        made.ready = !SaveProjectFile(made.project, p);
        std::fprintf(stderr, "PNG %d x %d: %lld bytes; project %lld bytes\n", PictureSize.width(),
                     PictureSize.height(), static_cast<long long>(p.picture.bytes.size()),
                     static_cast<long long>(QFileInfo(made.project).size()));
        return made;
    }();
    return f;
}

bool Ready(benchmark::State& state)
{
    if (!fixture().ready)
        state.SkipWithError("the picture or the project could not be written");
    return fixture().ready;
}

void BM_SaveProject(benchmark::State& state)
{
    if (!Ready(state))
        return;
    const QString path = fixture().dir.filePath(QStringLiteral("saved.tracella"));
    for (auto _ : state) {
        if (auto error = SaveProjectFile(path, fixture().saved)) {
            state.SkipWithError(qPrintable(error->description));
            return;
        }
    }
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();

// The picture's bytes and every cell text as UTF-8, one after the other,
// written as a data file is.
void BM_SaveProjectBaseline(benchmark::State& state)
{
    if (!Ready(state))
        return;
    const Project& p = fixture().saved;
    const QString path = fixture().dir.filePath(QStringLiteral("baseline.bin"));
    for (auto _ : state) {
        QByteArray bytes = p.picture.bytes;
        for (const ProjectCurve& curve : p.curves)
            for (const GridRow& row : curve.rows)
                for (const QString& cell : row)
                    bytes += cell.toUtf8();
        if (auto error = WriteDataFile(path, bytes)) {
            state.SkipWithError(qPrintable(error->description));
            return;
        }
    }
}
BENCHMARK(BM_SaveProjectBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// As an open does it: the file read and checked, the picture decoded from
// the bytes in memory, the curves put in a fresh document.
void BM_OpenProject(benchmark::State& state)
{
    if (!Ready(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        bench::WarmFreshMemory(PictureSize);
        state.ResumeTiming();
        auto read = ReadProjectFile(fixture().project);
        if (const QString* problem = std::get_if<QString>(&read)) {
            state.SkipWithError(qPrintable(*problem));
            return;
        }
        Project& p = std::get<Project>(read);
        QBuffer buffer(&p.picture.bytes);
        buffer.open(QIODevice::ReadOnly);
        const LoadedPicture loaded = DecodePicture(buffer, QFileInfo(p.picture.fileName).suffix().toLatin1());
        CurveDocument document;
        const auto problem = RestoreCurves(document, p.curves, p.current);
        if (loaded.error || problem) {
            state.SkipWithError(loaded.error ? qPrintable(loaded.error->description) : qPrintable(*problem));
            return;
        }
        benchmark::DoNotOptimize(loaded.picture.image.constBits());
        benchmark::DoNotOptimize(document.count());
    }
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenProjectBaseline(benchmark::State& state)
{
    if (!Ready(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        bench::WarmFreshMemory(PictureSize);
        state.ResumeTiming();
        const LoadedPicture loaded = LoadPictureFile(fixture().png);
        if (loaded.error) {
            state.SkipWithError(qPrintable(loaded.error->description));
            return;
        }
        benchmark::DoNotOptimize(loaded.picture.image.constBits());
    }
}
BENCHMARK(BM_OpenProjectBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
