// Writes the picture loader's seed corpus: one tiny file per format and a
// project holding a picture, each led by the byte that picks its file-name
// hint (or the project road) in the fuzz target.
#include "PdfSamples.h"
#include "PictureSamples.h"
#include "data/EditHistory.h"
#include "data/GridEditing.h"
#include "data/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>

#include <cstdio>

using namespace tracella::test;

namespace {

// Indexes into the fuzz target's hint list.
enum Hint : char { None = 0, Bmp, Ico, Jpg, Gif, Png, Tif, Webp, Wmf, Tga, Ppm, Xpm, Pdf, Project };

bool write(const QDir& dir, const QString& name, Hint hint, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly))
        return false;
    return file.write(QByteArray(1, hint) + bytes) == bytes.size() + 1;
}

// Two curves, one of them with points, a PNG kept as the file's bytes, and
// the history that made them: clicks, a sort and an added curve.
QByteArray seedProject(const QImage& image)
{
    tracella::Project p;
    p.picture = {tracella::PictureSource::File, QStringLiteral("/plots/seed.png"), EncodedWithQt(image, "png"), 0, 0};
    p.state.applySettingsDefaults();
    tracella::CurveDocument d;
    tracella::EditHistory history(d);
    for (const char* x : {" 1.5", " .5", "-2"}) {
        const tracella::HistoryStep step(history, QStringLiteral("Point"));
        (void)d.appendRow({QString::number(d.rows().rowCount()), QString::fromLatin1(x), QStringLiteral(" 3")});
    }
    {
        const tracella::HistoryStep step(history, QStringLiteral("Sort"));
        d.reorderRows([](tracella::GridRows& rows) {
            tracella::RowsReorder reorder;
            tracella::SortGridRows(rows, tracella::SortKey::X, reorder);
            return reorder;
        });
    }
    (void)d.add(QStringLiteral("Curve 2"));
    p.curves = tracella::ProjectCurvesOf(d);
    const tracella::CurveList list = d.list();
    p.numbering = tracella::CurveNumbering{list.nextId, list.added};
    p.history = history.record();
    return tracella::EncodeProject(p);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;

    const QImage image = CornerTestImage(QSize(8, 6));
    QImage translucent = image.convertToFormat(QImage::Format_ARGB32);
    translucent.setPixelColor(0, 0, QColor(10, 20, 30, 40));
    const std::vector<MetafileRectangle> drawing{{QRect(1, 1, 4, 3), QColor(200, 0, 0)}};
    const QByteArray metafile = MetafileBytes(QSize(8, 6), drawing);

    bool ok = write(dir, QStringLiteral("seed.bmp"), Bmp, EncodedWithQt(image, "bmp")) &&
              write(dir, QStringLiteral("seed.ico"), Ico, EncodedWithQt(translucent, "ico")) &&
              write(dir, QStringLiteral("seed.jpg"), Jpg, EncodedWithQt(image, "jpg", 50)) &&
              write(dir, QStringLiteral("seed.gif"), Gif, GifBytes(image)) &&
              write(dir, QStringLiteral("seed.png"), Png, EncodedWithQt(translucent, "png")) &&
              write(dir, QStringLiteral("seed.tif"), Tif, EncodedWithQt(image, "tiff")) &&
              write(dir, QStringLiteral("seed.webp"), Webp, EncodedWithQt(image, "webp", 50)) &&
              write(dir, QStringLiteral("seed-placeable.wmf"), Wmf, metafile) &&
              write(dir, QStringLiteral("seed-plain.wmf"), None, metafile.mid(22)) &&
              write(dir, QStringLiteral("seed.ppm"), Ppm, EncodedWithQt(image, "ppm")) &&
              write(dir, QStringLiteral("seed.xpm"), Xpm, EncodedWithQt(image, "xpm")) &&
              write(dir, QStringLiteral("seed-png-named.jpg"), Jpg, EncodedWithQt(image, "png")) &&
              write(dir, QStringLiteral("seed-plot.pdf"), Pdf, PlotPdfBytes(2, QSizeF(144, 108), 20)) &&
              write(dir, QStringLiteral("seed-simple.pdf"), Pdf, SimplePdfBytes()) &&
              write(dir, QStringLiteral("seed-no-page.pdf"), Pdf, NoPagePdfBytes()) &&
              write(dir, QStringLiteral("seed-encrypted.pdf"), Pdf, EncryptedPdfBytes("fuzz")) &&
              write(dir, QStringLiteral("seed.tracella"), Project, seedProject(image));
    return ok ? 0 : 1;
}
