// The plain road for 8-bit PNGs against Qt's reader, and what it must leave
// to libspng.
#include "picture/PictureLoader.h"
#include "picture/PlainPngDecoder.h"
#include "picture/PngDecoder.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <spng.h>
#include <zlib.h>

#include <cstdlib>
#include <functional>
#include <vector>

using namespace tracella;

namespace {

QByteArray encoded(int colourType, int filterChoice, QSize size)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, filterChoice);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<uint32_t>(size.width());
    ihdr.height = static_cast<uint32_t>(size.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = static_cast<uint8_t>(colourType);
    spng_set_ihdr(ctx, &ihdr);
    const int channels = colourType == 0 ? 1 : colourType == 2 ? 3 : 4;
    QByteArray raw(size.width() * size.height() * channels, '\0');
    for (qsizetype i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<char>((i * 7919) % 251 ^ (i / 97));
    spng_encode_image(ctx, raw.constData(), static_cast<size_t>(raw.size()), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t length = 0;
    int error = 0;
    void* png = spng_get_png_buffer(ctx, &length, &error);
    const QByteArray bytes(static_cast<const char*>(png), static_cast<qsizetype>(length));
    std::free(png);
    spng_ctx_free(ctx);
    return bytes;
}

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
        chunk += c.type + c.data;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), static_cast<uInt>(chunk.size() - 4));
        QByteArray tail(4, '\0');
        qToBigEndian(static_cast<quint32>(crc), tail.data());
        png += chunk + tail;
    }
    return png;
}

// The image data joined, changed, and cut again into chunks of `piece` bytes.
QByteArray withData(const QByteArray& png, const std::function<void(QByteArray&)>& change, qsizetype piece = 1 << 20)
{
    std::vector<Chunk> chunks, out;
    QByteArray data;
    for (const Chunk& c : chunksOf(png))
        (c.type == "IDAT" ? data += c.data : (chunks.push_back(c), data));
    change(data);
    for (const Chunk& c : chunks) {
        if (c.type == "IEND")
            for (qsizetype at = 0; at < data.size(); at += piece)
                out.push_back({"IDAT", data.mid(at, piece)});
        out.push_back(c);
    }
    return pngOf(out);
}

PlainPng decodePlain(const QByteArray& png, int channels, QImage& image, bool pipelined,
                     DecodeProgress* progress = nullptr)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    const QImage expected = QImage::fromData(png, "PNG");
    image = NewDecodedImage(expected.size(), expected.format());
    return DecodePlainPng(buffer, 0, channels, image, progress, pipelined);
}

} // namespace

// Every filter of every layout the road takes, on one thread and two, in
// data cut into pieces so small that the stream's checksum is split over
// chunks; more rows than the threads' ring holds.
TEST(PlainPng, GivesQtsPixelsForEveryFilter)
{
    for (const auto& [type, channels] : {std::pair{0, 1}, {2, 3}, {6, 4}})
        for (const int filter : {SPNG_FILTER_CHOICE_NONE, SPNG_FILTER_CHOICE_SUB, SPNG_FILTER_CHOICE_UP,
                                 SPNG_FILTER_CHOICE_AVG, SPNG_FILTER_CHOICE_PAETH})
            for (const qsizetype piece : {qsizetype{1} << 20, qsizetype{3}}) {
                const QByteArray png = withData(encoded(type, filter, QSize(45, 41)), [](QByteArray&) {}, piece);
                for (const bool pipelined : {false, true}) {
                    const std::string what = std::to_string(type) + " " + std::to_string(filter) + " " +
                                             std::to_string(piece) + (pipelined ? " pipelined" : "");
                    QImage image;
                    ASSERT_EQ(decodePlain(png, channels, image, pipelined), PlainPng::Decoded) << what;
                    EXPECT_EQ(image, QImage::fromData(png, "PNG")) << what;
                }
            }
}

// Whatever is not the plainest file goes to libspng, whose answer stays
// the one Qt gives.
TEST(PlainPng, LeavesEveryOtherFileToLibspng)
{
    const QByteArray plain = encoded(2, SPNG_FILTER_CHOICE_UP, QSize(45, 17));
    const auto noteBeforeEnd = [&plain] {
        std::vector<Chunk> chunks = chunksOf(plain);
        chunks.insert(chunks.end() - 1, Chunk{"tEXt", QByteArray("Title\0A plot", 12)});
        return pngOf(chunks);
    };
    const struct {
        const char* what;
        QByteArray png;
    } cases[] = {
        {"a note after the data", noteBeforeEnd()},
        {"a damaged data chunk", QByteArray(plain).replace(plain.indexOf("IDAT") + 9, 1, "\x55")},
        {"a wrong data checksum", withData(plain, [](QByteArray& d) { d[d.size() - 1] = static_cast<char>(d.back() ^ 1); })},
        {"bytes after the stream", withData(plain, [](QByteArray& d) { d += "xyz"; })},
        {"an unknown filter", withData(plain, [](QByteArray& d) {
             uLongf size = 17 * (1 + 45 * 3), packed = compressBound(size);
             QByteArray rows(static_cast<qsizetype>(size), '\0');
             uncompress(reinterpret_cast<Bytef*>(rows.data()), &size, reinterpret_cast<const Bytef*>(d.constData()),
                        static_cast<uLong>(d.size()));
             rows[8 * (1 + 45 * 3)] = 5;
             d.resize(static_cast<qsizetype>(packed));
             compress(reinterpret_cast<Bytef*>(d.data()), &packed, reinterpret_cast<const Bytef*>(rows.constData()), size);
             d.resize(static_cast<qsizetype>(packed));
         })},
        {"the end cut off", plain.left(plain.size() - 4)},
    };
    for (const auto& c : cases) {
        for (const bool pipelined : {false, true}) {
            QImage image;
            EXPECT_EQ(decodePlain(c.png, 3, image, pipelined), PlainPng::NotTaken) << c.what << pipelined;
        }
        QBuffer buffer;
        buffer.setData(c.png);
        buffer.open(QIODevice::ReadOnly);
        const LoadedPicture loaded = DecodePng(buffer);
        const QImage qt = QImage::fromData(c.png, "PNG");
        EXPECT_EQ(loaded.error.has_value(), qt.isNull()) << c.what;
        if (!qt.isNull())
            EXPECT_EQ(loaded.picture.image, qt) << c.what;
        else
            EXPECT_EQ(loaded.error->description, QStringLiteral("Invalid picture: ") + PngDamageReason()) << c.what;
    }
}

TEST(PlainPng, CancelStopsBothThreads)
{
    const QByteArray png = encoded(2, SPNG_FILTER_CHOICE_UP, QSize(45, 41));
    for (const bool pipelined : {false, true}) {
        DecodeProgress progress;
        progress.cancel().cancel();
        QImage image;
        EXPECT_EQ(decodePlain(png, 3, image, pipelined, &progress), PlainPng::Cancelled) << pipelined;
        EXPECT_LE(progress.rowsDone(), 1) << pipelined;
    }
}

TEST(PlainPng, Adler32AsZlibGivesIt)
{
    QByteArray bytes(20000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(255 - (i * 31) % 7); // high bytes: the sums grow fastest
    for (const qsizetype length : {0, 1, 31, 32, 33, 5551, 5552, 5553, 11104, 20000})
        for (const quint32 start : {1u, 0xfff0fff0u}) {
            const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
            EXPECT_EQ(UpdateAdler32(start, data, static_cast<std::size_t>(length)),
                      adler32(start, data, static_cast<uInt>(length)))
                << length << " " << start;
        }
}
