#include "PictureSamples.h"
#include "picture/JpegDecoder.h"
#include "picture/MetafileDecoder.h"
#include "picture/MetafileSaves.h"
#include "picture/PictureLoader.h"
#include "picture/PngDecoder.h"
#include "support/Expect.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tracella;
using namespace tracella::test;

namespace {

const QSize SampleSize(40, 30);

LoadedPicture decode(const QByteArray& bytes, const QByteArray& hint = {}, int maxSide = MaxPictureSide)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodePicture(buffer, hint, maxSide);
}

// The error's number; 0 when the picture opened.
long errorNumber(const LoadedPicture& loaded)
{
    return loaded.error ? loaded.error->number : 0;
}

std::vector<MetafileRectangle> cornerRectangles()
{
    return {{QRect(0, 0, 20, 15), QColor(255, 0, 0)},
            {QRect(20, 0, 20, 15), QColor(0, 0, 255)},
            {QRect(0, 15, 20, 15), QColor(0, 255, 0)}};
}

struct Sample {
    const char* suffix;
    QByteArray bytes;
    PictureKind kind;
    bool lossless;
};

std::vector<Sample> samplesOfEveryFormat()
{
    const QImage image = CornerTestImage(SampleSize);
    return {
        {"bmp", EncodedWithQt(image, "bmp"), PictureKind::Bitmap, true},
        {"ico", EncodedWithQt(image, "ico"), PictureKind::Icon, true},
        {"jpg", EncodedWithQt(image, "jpg", 95), PictureKind::Bitmap, false},
        {"gif", GifBytes(image), PictureKind::Bitmap, true},
        {"png", EncodedWithQt(image, "png"), PictureKind::Bitmap, true},
        {"tif", EncodedWithQt(image, "tiff"), PictureKind::Bitmap, true},
        {"webp", EncodedWithQt(image, "webp", 100), PictureKind::Bitmap, true},
        {"wmf", MetafileBytes(SampleSize, cornerRectangles()), PictureKind::Metafile, true},
    };
}

// Format, colour table and every byte of every row that holds pixels.
void expectSameImage(const QImage& actual, const QImage& expected, const std::string& what)
{
    ASSERT_EQ(actual.format(), expected.format()) << what;
    ASSERT_EQ(actual.size(), expected.size()) << what;
    EXPECT_EQ(actual.colorTable(), expected.colorTable()) << what;
    const qsizetype bits = static_cast<qsizetype>(expected.width()) * expected.depth();
    const auto used = [bits](const QImage& image, int y) {
        QByteArray row(reinterpret_cast<const char*>(image.constScanLine(y)), (bits + 7) / 8);
        if (bits % 8) // the padding bits of a 1-bit row are nobody's
            row.back() = static_cast<char>(row.back() & (0xff00 >> (bits % 8)));
        return row;
    };
    for (int y = 0; y < expected.height(); ++y)
        ASSERT_EQ(used(actual, y), used(expected, y)) << what << ", row " << y;
}

// Qt reads 16-bit RGB with a transparent colour as rows of 6 bytes a pixel
// into 8-byte pixels; this is the picture that file holds.
QImage withClearBlack(QImage image)
{
    image.convertTo(QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y) {
        auto* p = reinterpret_cast<QRgba64*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((p[x].red() | p[x].green() | p[x].blue()) == 0)
                p[x].setAlpha(0);
    }
    return image;
}

} // namespace

// The content decides over the name: the last three are misnamed.
TEST(PictureLoader, OpensEveryFormatAtNaturalSizeWithItsKind)
{
    QTemporaryDir dir;
    std::vector<Sample> samples = samplesOfEveryFormat();
    samples.push_back({"jpg", samples[4].bytes, PictureKind::Bitmap, true});
    samples.push_back({"bmp", samples[1].bytes, PictureKind::Icon, true});
    samples.push_back({"gif", samples[7].bytes, PictureKind::Metafile, true});
    for (const Sample& s : samples) {
        ASSERT_FALSE(s.bytes.isEmpty()) << s.suffix;
        const LoadedPicture loaded = LoadPictureFile(writeFile(dir, QStringLiteral("sample.") + s.suffix, s.bytes));
        ASSERT_FALSE(loaded.error) << s.suffix << ": " << loaded.error->description.toStdString();
        const QImage& image = loaded.picture.image;
        EXPECT_EQ(image.size(), SampleSize) << s.suffix;
        EXPECT_EQ(loaded.picture.kind, s.kind) << s.suffix;
        // Within a few units per channel where lossy (JPEG).
        for (const auto& [at, expected] : {std::pair{QPoint(5, 5), qRgb(255, 0, 0)}, {QPoint(34, 5), qRgb(0, 0, 255)},
                                           {QPoint(5, 24), qRgb(0, 255, 0)}, {QPoint(34, 24), qRgb(255, 255, 255)}}) {
            const QRgb c = image.pixel(at);
            EXPECT_LE(std::max({std::abs(qRed(c) - qRed(expected)), std::abs(qGreen(c) - qGreen(expected)),
                                std::abs(qBlue(c) - qBlue(expected))}),
                      s.lossless ? 0 : 12)
                << s.suffix << " at " << at.x() << "," << at.y();
        }
        // Only a metafile keeps its bytes, for saving it back unchanged.
        EXPECT_EQ(loaded.picture.originalBytes, s.kind == PictureKind::Metafile ? s.bytes : QByteArray()) << s.suffix;
    }
}

// A 6000 x 4500-unit frame at 1440 units an inch is 400 x 300 pixels at
// 96 dpi; a filled circle of 1000 units in its middle is one of 66.7 pixels
// there, not stretched to the frame.
TEST(PictureLoader, DrawsMetafilesInTheirFrameAndFillsWhatTheyFill)
{
    const LoadedPicture loaded =
        DecodeMetafile(MetafileBytes(QSize(6000, 4500), {{QRect(2500, 1750, 1000, 1000), Qt::red, true}}, 1440));
    const QImage& image = loaded.picture.image;
    ASSERT_EQ(image.size(), QSize(400, 300));
    for (const auto& [x, y, red] : {std::tuple{200, 150, true}, {230, 150, true}, {200, 180, true}, {237, 150, false},
                                    {200, 187, false}})
        EXPECT_EQ(image.pixel(x, y) == qRgb(255, 0, 0), red) << x << "," << y;
}

TEST(PictureLoader, RefusesDamagedFilesOfEveryFormat)
{
    for (const Sample& s : samplesOfEveryFormat()) {
        const QByteArray hint(s.suffix);
        // Cut off in the header or in the data, with the format known by its name.
        for (const double part : {0.1, 0.75})
            EXPECT_EQ(errorNumber(decode(s.bytes.left(static_cast<qsizetype>(s.bytes.size() * part)), hint)),
                      ErrorNumber::BadFileFormat) << s.suffix << " cut at " << part;
        // The signature and the header after it scrambled.
        QByteArray scrambled = s.bytes;
        for (qsizetype i = 0; i < std::min<qsizetype>(24, scrambled.size()); ++i)
            scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
        EXPECT_EQ(errorNumber(decode(scrambled, hint)), ErrorNumber::BadFileFormat) << s.suffix << " scrambled";

        EXPECT_TRUE(decode({}, hint).error) << s.suffix << " empty";
    }
    // A metafile header claiming a record larger than the file is refused
    // before libwmf sizes a buffer by it.
    QByteArray bloated = MetafileBytes(SampleSize, cornerRectangles());
    bloated.replace(22 + 12, 4, QByteArray::fromHex("ffffff7f"));
    EXPECT_EQ(errorNumber(decode(bloated)), ErrorNumber::BadFileFormat);

    QTemporaryDir dir;
    const LoadedPicture missing = LoadPictureFile(dir.filePath("missing.bmp"));
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->number, ENOENT);
    EXPECT_TRUE(missing.error->description.endsWith(dir.filePath("missing.bmp")));
}

TEST(PictureLoader, RefusesPicturesBeyondTheLargestSide)
{
    const auto plainPng = [](QSize size) { return EncodedWithQt(CornerTestImage(size), "png"); };
    for (const QSize size : {QSize(MaxPictureSide + 1, 2), QSize(3, MaxPictureSide + 1)}) {
        const LoadedPicture wide = decode(plainPng(size));
        ASSERT_TRUE(wide.error);
        EXPECT_EQ(wide.error->number, ErrorNumber::PictureTooLarge);
        EXPECT_EQ(wide.error->description,
                  QStringLiteral("The picture is %1 x %2 pixels; at most 20000 x 20000 can be opened")
                      .arg(size.width())
                      .arg(size.height()));
    }
    // The largest side is the caller's to choose, metafiles included.
    EXPECT_FALSE(decode(plainPng(QSize(64, 64)), {}, 64).error);
    EXPECT_FALSE(decode(MetafileBytes(QSize(64, 40), {}), {}, 64).error);
    EXPECT_EQ(errorNumber(decode(MetafileBytes(QSize(65, 40), {}), {}, 64)), ErrorNumber::PictureTooLarge);

    // Enough for a 4-byte picture of the largest side, with room for the decoder.
    EXPECT_GE(PictureAllocationLimitMiB(MaxPictureSide) * (1LL << 20), 4LL * MaxPictureSide * MaxPictureSide);
    EXPECT_LT(PictureAllocationLimitMiB(MaxPictureSide), 2048);
}

// Qt's decoder would show this as a grey picture; the largest claim cost it
// 1.6 GB and seconds. A JPEG cut short elsewhere is JpegSplit's to check.
TEST(PictureLoader, RefusesAJpegWhoseDataEndsAtOnce)
{
    // A small grey JPEG's header made to claim the largest size, its scan cut at once.
    QByteArray bytes = JpegBytes(CornerTestImage(), {.grey = true});
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    qToBigEndian<quint16>(MaxPictureSide, bytes.data() + frame + 5);
    qToBigEndian<quint16>(MaxPictureSide, bytes.data() + frame + 7);
    const LoadedPicture loaded = decode(bytes.left(JpegScanDataStart(bytes)) + QByteArray("\xFF\xD9", 2), "jpg");
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->number, ErrorNumber::BadFileFormat);
    EXPECT_EQ(loaded.error->description, QStringLiteral("Invalid picture: The file ends before the picture does"));
}

// What nothing restores is dropped before libwmf plays the file, which is
// saved back as it came: 200,000 unrestored SaveDC records (a 1.2 MB file)
// kept libwmf busy for over a minute. Restored saves nested beyond the limit
// are refused.
TEST(PictureLoader, DropsOnlyTheMetafileSavesNothingRestores)
{
    const QRect r(0, 0, 20, 15);
    const QByteArray bytes = MetafileBytes(SampleSize, {{r, Qt::red, false, 2, 200000}});
    const std::optional<QByteArray> played = WithoutUnrestoredSaves(bytes);
    ASSERT_TRUE(played);
    EXPECT_EQ(played->size(), bytes.size() - 6 * 200000);
    // The header's length of the whole file follows.
    EXPECT_EQ(qFromLittleEndian<quint32>(played->constData() + 22 + 6), played->size() / 2 - 11);
    EXPECT_EQ(decode(bytes).picture.image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_TRUE(WithoutUnrestoredSaves(MetafileBytes(SampleSize, {{r, Qt::red, false, MaxNestedMetafileSaves, 0}})));
    EXPECT_EQ(errorNumber(decode(MetafileBytes(SampleSize, {{r, Qt::red, false, MaxNestedMetafileSaves + 1, 0}}))),
              ErrorNumber::BadFileFormat);
}

// Every colour type at every depth the format allows, with and without
// tRNS and interlacing; odd sizes leave partial bytes and partial passes.
TEST(PngDecoder, GivesQtsPixelsForEveryLayout)
{
    const std::vector<std::pair<int, std::vector<int>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    int compared = 0;
    for (const auto& [type, typeDepths] : depths)
        for (const int depth : typeDepths)
            for (const bool trns : {false, true})
                for (const bool interlaced : {false, true}) {
                    if (trns && (type & 4))
                        continue; // alpha already: no tRNS allowed
                    const PngLayout layout{type, depth, trns, interlaced};
                    const std::string name = std::to_string(type) + "/" + std::to_string(depth) +
                                             (trns ? " tRNS" : "") + (interlaced ? " interlaced" : "");
                    const QByteArray png = PngBytes(layout, QSize(37, 23));
                    // The previous road, Qt's reader; it garbles 16-bit RGB with tRNS: the colours, black see-through.
                    const QImage expected =
                        type == 2 && depth == 16 && trns
                            ? withClearBlack(QImage::fromData(PngBytes({2, 16, false, interlaced}, QSize(37, 23)), "PNG"))
                            : QImage::fromData(png, "PNG");
                    ASSERT_FALSE(expected.isNull()) << name;
                    const LoadedPicture loaded = decode(png, "png");
                    ASSERT_FALSE(loaded.error) << name << ": " << loaded.error->description.toStdString();
                    EXPECT_EQ(loaded.picture.kind, PictureKind::Bitmap);
                    expectSameImage(loaded.picture.image, expected, name);
                    ++compared;
                }
    EXPECT_EQ(compared, 52);
}

// Rows are all counted, Adam7 visiting the 30 rows in 7 passes (4 + 4 + 4 +
// 8 + 7 + 15 + 15); a cancel stops the decoder at the next row, leaving nothing.
TEST(PngDecoder, ReportsRowsAndStopsWhenCancelled)
{
    QBuffer buffer;
    buffer.setData(PngBytes({2, 8, false, true}, QSize(40, 30)));
    buffer.open(QIODevice::ReadOnly);
    DecodeProgress progress, cancelled;
    ASSERT_FALSE(DecodePng(buffer, MaxPictureSide, &progress).error);
    EXPECT_EQ(progress.rowsDone(), 57);
    EXPECT_EQ(progress.rows(), 57);
    cancelled.cancel().cancel();
    buffer.seek(0);
    const LoadedPicture given = DecodePng(buffer, MaxPictureSide, &cancelled);
    EXPECT_TRUE(given.picture.isNull());
    EXPECT_FALSE(given.error);
    EXPECT_EQ(cancelled.rowsDone(), 1);
}
