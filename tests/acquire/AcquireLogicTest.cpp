// What a scanner sends made into a page, and the rules of the screen capture.
#include "ScanDoubles.h"
#include "acquire/CaptureGeometry.h"
#include "acquire/PageAcquisition.h"
#include "acquire/ScanFrame.h"

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::ColourRamp;
using tracella::test::FakeScanDevice;

namespace {

ScannedFrame Scanned(FrameKind kind, int depth, int width, int bytesPerLine, int lines, QByteArray bytes,
                     bool last = true)
{
    return {FrameParameters{kind, last, bytesPerLine, width, lines, depth}, std::move(bytes)};
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// 16-bit samples travel in the machine's own byte order.
QByteArray Words(std::initializer_list<quint16> values)
{
    return QByteArray(reinterpret_cast<const char*>(std::data(values)), static_cast<qsizetype>(2 * values.size()));
}

// Every pixel of the page, row after row.
std::vector<QRgb> Pixels(const QImage& image)
{
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y));
    return pixels;
}

QRgb Grey(int level)
{
    return qRgb(level, level, level);
}

// The grey levels from 1 to `last`.
std::vector<QRgb> Greys(int last)
{
    std::vector<QRgb> levels;
    for (int level = 1; level <= last; ++level)
        levels.push_back(Grey(level));
    return levels;
}

struct Progress {
    std::vector<std::pair<qint64, qint64>> calls;
    int stopAt = -1; // the call that says stop
    bool operator()(qint64 received, qint64 expected)
    {
        calls.emplace_back(received, expected);
        return int(calls.size()) != stopAt;
    }
};

} // namespace

// Line art: set bits black, most significant first, line padding ignored.
// 16-bit levels go to the nearer 8-bit one (200 is 0.78 of a level). In
// colour a set bit is full intensity. Three passes combine in any order, a
// missing one staying dark. Only whole lines that arrived count, however
// many were announced (-1: unknown); what cannot be a page gives none.
TEST(PageImage, EveryDepthKindAndPassGivesItsPixels)
{
    const QRgb B = Grey(0), W = Grey(255);
    const QByteArray fiveAndAHalfLines = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const struct {
        const char* what;
        std::vector<ScannedFrame> frames;
        int width; // 0: no page
        std::vector<QRgb> pixels;
    } cases[] = {
        {"line art",
         {Scanned(FrameKind::Gray, 1, 10, 3, 2, Bytes({0b10000001, 0b01000000, 0xFF, 0b00000000, 0b11111111, 0xFF}))},
         10,
         {B, W, W, W, W, W, W, B, W, B, W, W, W, W, W, W, W, W, B, B}},
        {"grey, 8 bits", {Scanned(FrameKind::Gray, 8, 3, 4, 2, Bytes({0, 128, 255, 99, 10, 20, 30, 99}))}, 3,
         {Grey(0), Grey(128), Grey(255), Grey(10), Grey(20), Grey(30)}},
        {"grey, 16 bits", {Scanned(FrameKind::Gray, 16, 5, 10, 1, Words({0, 65535, 0x8080, 257, 200}))}, 5,
         {Grey(0), Grey(255), Grey(128), Grey(1), Grey(1)}},
        {"colour, 16 bits", {Scanned(FrameKind::Rgb, 16, 1, 6, 1, Words({65535, 0x8080, 0}))}, 1, {qRgb(255, 128, 0)}},
        {"colour, 1 bit", {Scanned(FrameKind::Rgb, 1, 2, 1, 1, Bytes({0b10101100}))}, 2,
         {qRgb(255, 0, 255), qRgb(0, 255, 255)}},
        {"three passes",
         {Scanned(FrameKind::Green, 8, 2, 2, 1, Bytes({1, 2}), false),
          Scanned(FrameKind::Blue, 8, 2, 2, 1, Bytes({3, 4}), false), Scanned(FrameKind::Red, 8, 2, 2, 1, Bytes({5, 6}))},
         2,
         {qRgb(5, 1, 3), qRgb(6, 2, 4)}},
        {"no blue pass",
         {Scanned(FrameKind::Red, 8, 1, 1, 1, Bytes({9}), false), Scanned(FrameKind::Green, 8, 1, 1, 1, Bytes({7}))},
         1,
         {qRgb(9, 7, 0)}},
        {"passes of two widths",
         {Scanned(FrameKind::Red, 8, 2, 2, 1, Bytes({1, 2}), false), Scanned(FrameKind::Blue, 8, 1, 1, 1, Bytes({1}))},
         0,
         {}},
        {"lines unknown", {Scanned(FrameKind::Gray, 8, 2, 2, -1, fiveAndAHalfLines)}, 2, Greys(10)},
        {"more lines announced", {Scanned(FrameKind::Gray, 8, 2, 2, 8, fiveAndAHalfLines)}, 2, Greys(10)},
        {"fewer lines announced", {Scanned(FrameKind::Gray, 8, 2, 2, 3, fiveAndAHalfLines)}, 2, Greys(6)},
        {"not one whole line", {Scanned(FrameKind::Gray, 8, 2, 2, 1, Bytes({1}))}, 0, {}},
        {"12 bits", {Scanned(FrameKind::Gray, 12, 2, 4, 1, Bytes({1, 2, 3, 4}))}, 0, {}},
        {"line shorter than its pixels", {Scanned(FrameKind::Rgb, 8, 2, 5, 1, Bytes({1, 2, 3, 4, 5}))}, 0, {}},
    };
    for (const auto& c : cases) {
        const QImage image = PageImage(c.frames);
        EXPECT_EQ(image.width(), c.width) << c.what;
        EXPECT_EQ(Pixels(image), c.pixels) << c.what;
    }
}

// Progress after each piece read, against the whole page (0 when its length is unknown).
TEST(AcquirePage, ReadsTheFramesInPiecesReportingProgressAndEndsThePage)
{
    FakeScanDevice device({ColourRamp(5, 4)}, 16);
    Progress progress;
    const QImage page = AcquirePage(device, std::ref(progress));
    ASSERT_EQ(page.size(), QSize(5, 4));
    EXPECT_EQ(page.pixel(4, 3), qRgb(4, 3, 7));
    // 60 bytes in pieces of 16.
    ASSERT_EQ(progress.calls.size(), 4u);
    EXPECT_EQ(progress.calls.front(), std::make_pair(qint64(16), qint64(60)));
    EXPECT_EQ(device.cancels, 1);

    FakeScanDevice::Frame hand = ColourRamp(2, 3);
    hand.parameters->lines = -1;
    FakeScanDevice handScanner({hand});
    Progress unknown;
    EXPECT_EQ(AcquirePage(handScanner, std::ref(unknown)).size(), QSize(2, 3));
    EXPECT_EQ(unknown.calls.back(), std::make_pair(qint64(18), qint64(0)));
}

TEST(AcquirePage, StoppingFailingOrGettingNoFrameGivesNoPictureAndEndsThePage)
{
    FakeScanDevice stopped({ColourRamp(10, 10)}, 50);
    Progress stopSecond;
    stopSecond.stopAt = 2;
    EXPECT_TRUE(AcquirePage(stopped, std::ref(stopSecond)).isNull());
    EXPECT_EQ(stopped.reads, 2) << "no read after the stop";
    EXPECT_EQ(stopped.cancels, 1);

    FakeScanDevice::Frame jammed = ColourRamp(3, 3);
    jammed.failAtEnd = true;
    FakeScanDevice failing({jammed});
    Progress any;
    EXPECT_TRUE(AcquirePage(failing, std::ref(any)).isNull());

    FakeScanDevice noPaper({FakeScanDevice::Frame{std::nullopt, {}}});
    EXPECT_TRUE(AcquirePage(noPaper, std::ref(any)).isNull());
    EXPECT_EQ(noPaper.reads, 0);
    EXPECT_EQ(noPaper.cancels, 1);

    // The second pass of a three-pass page never comes.
    FakeScanDevice halfPage({{FrameParameters{FrameKind::Red, false, 4, 4, 2, 8}, QByteArray(8, char(1))}});
    EXPECT_TRUE(AcquirePage(halfPage, std::ref(any)).isNull());
}

// A start on the half second rounds to the even second.
TEST(CaptureGeometry, WaitIsWithinHalfASecondOfTheDelay)
{
    for (const auto& [start, wait] : {std::pair{QTime(14, 5, 9, 400), 4600}, {QTime(14, 5, 9, 600), 5400},
                                      {QTime(14, 5, 9, 500), 5500}, {QTime(14, 5, 10, 500), 4500},
                                      {QTime(23, 59, 58, 600), 5400}})
        EXPECT_EQ(CaptureWaitMs(start, 5), wait) << start.toString("hh:mm:ss.zzz").toStdString();
}

// Only a text smaller than the rectangle both ways is drawn.
TEST(CaptureGeometry, LabelShowsTheSizeCentredWhenItFits)
{
    const QRect rect(100, 200, 120, 45);
    EXPECT_EQ(CaptureLabelText(rect), QStringLiteral("120x45"));
    EXPECT_EQ(CaptureLabelProbe(rect), QPoint(160, 222)); // 222.5 rounds to even
    EXPECT_EQ(CaptureLabelPosition(rect, QSize(50, 15)), QPoint(135, 215));
    for (const auto& [text, fits] : {std::pair{QSize(120, 15), false}, {QSize(50, 45), false}, {QSize(119, 44), true}})
        EXPECT_EQ(CaptureLabelPosition(rect, text).has_value(), fits) << text.width() << "x" << text.height();
    EXPECT_FALSE(CaptureLabelPosition(QRect(0, 0, 0, 0), QSize(0, 0)).has_value());
}

// By packed value: the threshold lies between 31127 and 31128, so a mid green flips it.
TEST(CaptureGeometry, LabelIsWhiteOnDarkAndBlackOnLightByPackedValue)
{
    const Colour white = Rgb(255, 255, 255), black = Rgb(0, 0, 0);
    for (const auto& [under, label] :
         {std::pair{Rgb(255, 0, 0), white}, {Rgb(0, 0, 255), black}, {Colour(31127), white}, {Colour(31128), black}})
        EXPECT_EQ(CaptureLabelColour(under), label) << under;
}
