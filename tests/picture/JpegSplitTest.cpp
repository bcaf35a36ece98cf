// A JPEG of a single scan decoded in two halves at once, against the same
// file on one thread: the same pixels, the same messages, every row counted.
#include "PictureSamples.h"
#include "picture/JpegDecoder.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

// Colours that change within every block, so that no two rows are alike.
QImage busyColours(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 253, (y * 29 + x * 3) % 241));
    return image;
}

LoadedPicture decode(const QByteArray& bytes, JpegThreads threads, DecodeProgress* progress = nullptr)
{
    return DecodeJpeg(bytes, MaxPictureSide, progress, threads);
}

const QString CutOff = QStringLiteral("Invalid picture: The file ends before the picture does");
const QString Damaged = QStringLiteral("Invalid picture: The picture's data is damaged");

} // namespace

TEST(JpegSplit, GivesTheOneThreadsPixelsAndCountsEveryRow)
{
    const QImage odd = busyColours(QSize(157, 203));
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"4:2:0, odd size", JpegBytes(odd, {})},
        {"4:4:4", JpegBytes(odd, {.fullChroma = true})},
        {"4:2:0, restart markers", JpegBytes(busyColours(QSize(120, 250)), {.restartRows = 2})},
        {"grey, restart markers", JpegBytes(odd, {.grey = true, .restartRows = 1})},
        {"progressive, on one thread", JpegBytes(odd, {.progressive = true})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LoadedPicture one = decode(c.bytes, JpegThreads::One);
        ASSERT_FALSE(one.error) << one.error->description.toStdString();
        DecodeProgress progress;
        const LoadedPicture two = decode(c.bytes, JpegThreads::Two, &progress);
        ASSERT_FALSE(two.error) << two.error->description.toStdString();
        EXPECT_EQ(two.picture.image.format(), one.picture.image.format());
        EXPECT_TRUE(two.picture.image == one.picture.image);
        EXPECT_EQ(progress.rows(), one.picture.image.height());
        EXPECT_EQ(progress.rowsDone(), progress.rows());
    }
}

// Damage is met in the order one thread meets it, and bad restart intervals
// count over both halves.
TEST(JpegSplit, GivesTheOneThreadsMessageForDamageInEitherHalf)
{
    // 40 restart intervals of 8 rows; the bottom half starts at row 176.
    const QByteArray whole = JpegBytes(busyColours(QSize(160, 320)), {.grey = true, .restartRows = 1});
    const qsizetype data = JpegScanDataStart(whole);
    const qsizetype scan = whole.size() - data;
    const struct {
        const char* what;
        QByteArray bytes;
        QString message; // empty: the picture opens
    } cases[] = {
        {"cut in the bottom half", whole.left(data + scan * 4 / 5), CutOff},
        {"cut in the top half", whole.left(data + scan / 4), CutOff},
        {"only the end marker missing", whole.chopped(2), CutOff},
        // An emptied interval here warns more than once: one in each half is too many.
        {"one bad interval in each half", JpegWithEmptiedIntervals(whole, {2, 25}), Damaged},
        {"one bad interval in the bottom half", JpegWithEmptiedIntervals(whole, {30}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LoadedPicture one = decode(c.bytes, JpegThreads::One);
        const LoadedPicture two = decode(c.bytes, JpegThreads::Two);
        ASSERT_EQ(one.error.has_value(), !c.message.isEmpty()) << (one.error ? one.error->description.toStdString() : "");
        ASSERT_EQ(two.error.has_value(), !c.message.isEmpty());
        if (one.error) {
            EXPECT_EQ(one.error->description, c.message);
            EXPECT_EQ(two.error->description, c.message);
            EXPECT_EQ(two.error->number, one.error->number);
            EXPECT_TRUE(two.picture.isNull());
        } else {
            EXPECT_TRUE(two.picture.image == one.picture.image);
        }
    }
}

TEST(JpegSplit, StopsBothHalvesWhenGivenUp)
{
    DecodeProgress progress;
    progress.cancel().cancel();
    const LoadedPicture loaded = decode(JpegBytes(busyColours(QSize(64, 400)), {}), JpegThreads::Two, &progress);
    EXPECT_FALSE(loaded.error);
    EXPECT_TRUE(loaded.picture.isNull());
    EXPECT_LT(progress.rowsDone(), progress.rows());
}
