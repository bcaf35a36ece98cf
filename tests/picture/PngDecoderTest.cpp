#include "PictureSamples.h"
#include "picture/PictureLoader.h"
#include "picture/PngDecoder.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

// The previous road: Qt's own PNG reader.
struct QtRead {
    QImage image;
    QString error;
};

QtRead readWithQt(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QtRead read;
    if (!reader.read(&read.image))
        read.error = reader.errorString();
    return read;
}

LoadedPicture decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodePicture(buffer, "png");
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

std::string nameOf(const PngLayout& l)
{
    return "type " + std::to_string(l.colourType) + ", " + std::to_string(l.depth) + " bits" +
           (l.transparentColour ? ", tRNS" : "") + (l.interlaced ? ", interlaced" : "");
}

// One chunk's data byte flipped, its CRC left as it was.
QByteArray withDamagedChunk(QByteArray png, const char* type)
{
    const qsizetype at = png.indexOf(type);
    if (at >= 0)
        png[at + 5] = static_cast<char>(png[at + 5] ^ 0x10);
    return png;
}

} // namespace

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
                    const QByteArray png = PngBytes(layout, QSize(37, 23));
                    QtRead expected = readWithQt(png);
                    if (type == 2 && depth == 16 && trns) // Qt garbles this one: the colours with black see-through
                        expected.image = withClearBlack(readWithQt(PngBytes({2, 16, false, interlaced}, QSize(37, 23))).image);
                    ASSERT_TRUE(expected.error.isEmpty()) << nameOf(layout) << ": " << expected.error.toStdString();
                    const LoadedPicture loaded = decode(png);
                    ASSERT_FALSE(loaded.error) << nameOf(layout) << ": " << loaded.error->description.toStdString();
                    EXPECT_EQ(loaded.picture.kind, PictureKind::Bitmap);
                    expectSameImage(loaded.picture.image, expected.image, nameOf(layout));
                    ++compared;
                }
    EXPECT_EQ(compared, 52);
}

// Whatever Qt's reader refuses is refused with its words; what it forgives
// (a file without IEND's checksum, bad notes) opens with the same pixels.
TEST(PngDecoder, RefusesDamagedFilesAsQtDid)
{
    QImage noted = CornerTestImage(QSize(64, 48));
    noted.setText(QStringLiteral("Title"), QStringLiteral("A plot of something measured"));
    const QByteArray plain = EncodedWithQt(noted, "png");
    const QByteArray interlaced = PngBytes({3, 4, true, true}, QSize(61, 47));
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"cut in the header", plain.left(30)},
        {"cut in the data", plain.left(plain.size() / 2)},
        {"cut in interlaced data", interlaced.left(interlaced.size() * 3 / 4)},
        {"no end chunk", plain.left(plain.size() - 12)},
        {"end chunk without checksum", plain.left(plain.size() - 4)},
        {"damaged data chunk", withDamagedChunk(plain, "IDAT")},
        {"damaged header", withDamagedChunk(plain, "IHDR")},
        {"damaged note", withDamagedChunk(plain, "tEXt")},
        {"bytes after the end", plain + QByteArray(100, 'x')},
    };
    for (const auto& c : cases) {
        const QtRead expected = readWithQt(c.bytes);
        const LoadedPicture loaded = decode(c.bytes);
        if (expected.error.isEmpty()) {
            ASSERT_FALSE(loaded.error) << c.what << ": " << loaded.error->description.toStdString();
            expectSameImage(loaded.picture.image, expected.image, c.what);
        } else {
            ASSERT_TRUE(loaded.error) << c.what;
            EXPECT_EQ(loaded.error->number, ErrorNumber::BadFileFormat) << c.what;
            EXPECT_EQ(loaded.error->description, QStringLiteral("Invalid picture: ") + expected.error) << c.what;
            EXPECT_TRUE(loaded.picture.isNull()) << c.what;
        }
    }
}

// Rows come in order and are all counted; a cancel stops the decoder at
// the next row and leaves nothing.
TEST(PngDecoder, ReportsRowsAndStopsWhenCancelled)
{
    for (const bool interlaced : {false, true}) {
        const QByteArray png = PngBytes({2, 8, false, interlaced}, QSize(40, 30));
        DecodeProgress progress;
        ASSERT_FALSE(decode(png).error);
        QBuffer buffer;
        buffer.setData(png);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_FALSE(DecodePng(buffer, MaxPictureSide, &progress).error);
        EXPECT_EQ(progress.rowsDone(), progress.rows()) << interlaced;
        // Adam7 visits the 30 rows in 7 passes: 4 + 4 + 4 + 8 + 7 + 15 + 15.
        EXPECT_EQ(progress.rows(), interlaced ? 57 : 30);

        DecodeProgress cancelled;
        cancelled.cancel().cancel();
        buffer.seek(0);
        const LoadedPicture given = DecodePng(buffer, MaxPictureSide, &cancelled);
        EXPECT_TRUE(given.picture.isNull());
        EXPECT_FALSE(given.error);
        EXPECT_EQ(cancelled.rowsDone(), 1);
    }
}
