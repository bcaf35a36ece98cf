// The plain road for 8-bit PNGs against Qt's reader, and what it must leave
// to libspng.
#include "PictureSamples.h"
#include "picture/PictureLoader.h"
#include "picture/PlainPngDecoder.h"
#include "picture/PngDecoder.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <spng.h>
#include <zlib.h>

#include <functional>
#include <vector>

using namespace tracella;
using tracella::test::PngBytes;

namespace {

struct Chunk {
    QByteArray type, data;
};

std::vector<Chunk> chunksOf(const QByteArray& png)
{
    std::vector<Chunk> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = static_cast<qsizetype>(qFromBigEndian<quint32>(png.constData() + at));
        chunks.push_back({png.mid(at + 4, 4), png.mid(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

// The chunks written again, each with its right CRC.
QByteArray pngOf(const std::vector<Chunk>& chunks)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    for (const Chunk& c : chunks) {
        QByteArray chunk(4, '\0');
        qToBigEndian(static_cast<quint32>(c.data.size()), chunk.data());
        chunk += c.type + c.data + QByteArray(4, '\0');
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), static_cast<uInt>(chunk.size() - 8));
        qToBigEndian(static_cast<quint32>(crc), chunk.data() + chunk.size() - 4);
        png += chunk;
    }
    return png;
}

// The image data joined, changed, and cut again into chunks of `piece` bytes.
QByteArray withData(const QByteArray& png, const std::function<void(QByteArray&)>& change, qsizetype piece = 1 << 20)
{
    std::vector<Chunk> out;
    QByteArray data;
    for (const Chunk& c : chunksOf(png))
        if (c.type == "IDAT")
            data += c.data;
    change(data);
    for (const Chunk& c : chunksOf(png)) {
        if (c.type == "IEND")
            for (qsizetype at = 0; at < data.size(); at += piece)
                out.push_back({"IDAT", data.mid(at, piece)});
        if (c.type != "IDAT")
            out.push_back(c);
    }
    return pngOf(out);
}

PlainPng decodePlain(const QByteArray& png, int channels, bool pipelined, QImage& image,
                     DecodeProgress* progress = nullptr)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    const QImage expected = QImage::fromData(png, "PNG");
    image = NewDecodedImage(expected.size(), expected.format());
    return DecodePlainPng(buffer, 0, channels, image, progress, pipelined);
}

const QSize Size(45, 41); // more rows than the threads' ring holds

} // namespace

// Every filter of every layout the road takes, on one thread and two, in
// data cut into pieces so small that the stream's checksum is split over
// chunks.
TEST(PlainPng, GivesQtsPixelsForEveryFilter)
{
    for (const auto& [type, channels] : {std::pair{0, 1}, {2, 3}, {6, 4}})
        for (const int filter : {SPNG_FILTER_CHOICE_NONE, SPNG_FILTER_CHOICE_SUB, SPNG_FILTER_CHOICE_UP,
                                 SPNG_FILTER_CHOICE_AVG, SPNG_FILTER_CHOICE_PAETH})
            for (const qsizetype piece : {qsizetype{1} << 20, qsizetype{3}})
                for (const bool pipelined : {false, true}) {
                    SCOPED_TRACE(testing::Message() << type << " " << filter << " " << piece << " " << pipelined);
                    const QByteArray png = withData(PngBytes({type, 8, false, false, filter}, Size), [](QByteArray&) {}, piece);
                    QImage image;
                    ASSERT_EQ(decodePlain(png, channels, pipelined, image), PlainPng::Decoded);
                    EXPECT_EQ(image, QImage::fromData(png, "PNG"));
                }
}

// Whatever is not the plainest file goes to libspng; what Qt's reader
// refuses is refused with its words, what it forgives opens with its pixels.
TEST(PlainPng, LeavesEveryOtherFileToLibspng)
{
    const QByteArray plain = PngBytes({2, 8, false, false, SPNG_FILTER_CHOICE_NONE}, Size);
    std::vector<Chunk> notedAfter = chunksOf(plain), notedBefore = notedAfter;
    notedAfter.insert(notedAfter.end() - 1, Chunk{"tEXt", QByteArray("Title\0A plot", 12)});
    notedBefore.insert(notedBefore.begin() + 1, Chunk{"tEXt", QByteArray("Title\0A plot", 12)});
    QByteArray damagedNote = pngOf(notedBefore);
    damagedNote[damagedNote.indexOf("tEXt") + 5] = 'x';
    const struct {
        const char* what;
        QByteArray png;
        bool seenAhead = false; // so not decoded twice
        PlainPng plainRoad = PlainPng::NotTaken;
    } cases[] = {
        {"a note after the data", pngOf(notedAfter), true},
        {"a damaged note before the data, which libspng drops", damagedNote, false, PlainPng::Decoded},
        {"cut in the data", plain.left(plain.size() / 2)},
        {"a damaged data chunk", QByteArray(plain).replace(plain.indexOf("IDAT") + 9, 1, "\x55")},
        {"a wrong data checksum", withData(plain, [](QByteArray& d) { d[d.size() - 1] = static_cast<char>(d.back() ^ 1); })},
        {"bytes after the stream", withData(plain, [](QByteArray& d) { d += "xyz"; })},
        {"an unknown filter", withData(plain, [](QByteArray& d) {
             QByteArray rows = qUncompress(QByteArray(4, '\0').replace(2, 1, "\x7f") + d); // the size is only a hint
             rows[8 * (1 + Size.width() * 3)] = 5;
             d = qCompress(rows).mid(4);
         })},
        {"the end cut off", plain.left(plain.size() - 4)},
    };
    for (const auto& c : cases) {
        for (const bool pipelined : {false, true}) {
            QImage image;
            DecodeProgress progress;
            EXPECT_EQ(decodePlain(c.png, 3, pipelined, image, &progress), c.plainRoad) << c.what << pipelined;
            EXPECT_TRUE(!c.seenAhead || progress.rowsDone() == 0) << c.what;
        }
        QBuffer buffer;
        buffer.setData(c.png);
        buffer.open(QIODevice::ReadOnly);
        const LoadedPicture loaded = DecodePng(buffer);
        const QImage qt = QImage::fromData(c.png, "PNG");
        EXPECT_EQ(loaded.picture.image, qt) << c.what;
        if (qt.isNull()) {
            ASSERT_TRUE(loaded.error) << c.what;
            EXPECT_EQ(loaded.error->number, ErrorNumber::BadFileFormat) << c.what;
            EXPECT_EQ(loaded.error->description, QStringLiteral("Invalid picture: ") + PngDamageReason()) << c.what;
        }
    }
}

TEST(PlainPng, CancelStopsBothThreads)
{
    for (const bool pipelined : {false, true}) {
        DecodeProgress progress;
        progress.cancel().cancel();
        QImage image;
        EXPECT_EQ(decodePlain(PngBytes({2, 8}, Size), 3, pipelined, image, &progress), PlainPng::Cancelled);
        EXPECT_LE(progress.rowsDone(), 1) << pipelined;
    }
}

TEST(PlainPng, Adler32AsZlibGivesIt)
{
    QByteArray bytes(20000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(255 - (i * 31) % 7); // high bytes: the sums grow fastest
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    for (const uInt length : {0, 1, 31, 32, 33, 5551, 5552, 5553, 11104, 20000})
        for (const quint32 start : {1u, 0xfff0fff0u})
            EXPECT_EQ(UpdateAdler32(start, data, length), adler32(start, data, length)) << length << " " << start;
}
