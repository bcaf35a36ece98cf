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

ScannedFrame Scanned(FrameKind kind, int depth, int width, int bytesPerLine, int lines, QByteArray bytes)
{
    return {FrameParameters{kind, true, bytesPerLine, width, lines, depth}, std::move(bytes)};
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
    QByteArray bytes;
    for (quint16 v : values)
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    return bytes;
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

struct Progress {
    std::vector<std::pair<qint64, qint64>> calls;
    int stopAt = -1; // the call that says stop
    bool operator()(qint64 received, qint64 expected)
    {
        calls.emplace_back(received, expected);
        return int(calls.size()) != stopAt;
    }
};

FakeScanDevice::Frame Pass(FrameKind kind, QByteArray bytes, bool last)
{
    return {FrameParameters{kind, last, 4, 4, 2, 8}, std::move(bytes)};
}

} // namespace

// Line art: set bits black, most significant first, line padding ignored. 16-bit
// levels go to the nearer 8-bit one (200 is 0.78 of a level). In colour a set
// bit is full intensity: samples R G B R G B.
TEST(PageImage, EveryDepthAndKindGivesItsPixels)
{
    const QRgb B = Grey(0), W = Grey(255);
    const struct {
        const char* what;
        ScannedFrame frame;
        QSize size;
        std::vector<QRgb> pixels;
    } cases[] = {
        {"line art",
         Scanned(FrameKind::Gray, 1, 10, 3, 2, Bytes({0b10000001, 0b01000000, 0xFF, 0b00000000, 0b11111111, 0xFF})),
         {10, 2},
         {B, W, W, W, W, W, W, B, W, B, W, W, W, W, W, W, W, W, B, B}},
        {"grey, 8 bits", Scanned(FrameKind::Gray, 8, 3, 4, 2, Bytes({0, 128, 255, 99, 10, 20, 30, 99})), {3, 2},
         {Grey(0), Grey(128), Grey(255), Grey(10), Grey(20), Grey(30)}},
        {"grey, 16 bits", Scanned(FrameKind::Gray, 16, 5, 10, 1, Words({0, 65535, 0x8080, 257, 200})), {5, 1},
         {Grey(0), Grey(255), Grey(128), Grey(1), Grey(1)}},
        {"colour, 16 bits", Scanned(FrameKind::Rgb, 16, 1, 6, 1, Words({65535, 0x8080, 0})), {1, 1}, {qRgb(255, 128, 0)}},
        {"colour, 1 bit", Scanned(FrameKind::Rgb, 1, 2, 1, 1, Bytes({0b10101100})), {2, 1},
         {qRgb(255, 0, 255), qRgb(0, 255, 255)}},
    };
    for (const auto& c : cases) {
        const QImage image = PageImage({c.frame});
        ASSERT_EQ(image.size(), c.size) << c.what;
        EXPECT_EQ(Pixels(image), c.pixels) << c.what;
    }
}

TEST(PageImage, ThreePassFramesCombineInAnyOrderAndAMissingChannelStaysDark)
{
    auto pass = [](FrameKind kind, QByteArray bytes, bool last) {
        ScannedFrame f = Scanned(kind, 8, 2, 2, 1, std::move(bytes));
        f.parameters.lastFrame = last;
        return f;
    };
    const QImage all = PageImage({pass(FrameKind::Green, Bytes({1, 2}), false),
                                  pass(FrameKind::Blue, Bytes({3, 4}), false),
                                  pass(FrameKind::Red, Bytes({5, 6}), true)});
    EXPECT_EQ(Pixels(all), (std::vector<QRgb>{qRgb(5, 1, 3), qRgb(6, 2, 4)}));
    EXPECT_EQ(PageImage({pass(FrameKind::Red, Bytes({9, 9}), false), pass(FrameKind::Green, Bytes({7, 7}), true)})
                  .pixel(1, 0),
              qRgb(9, 7, 0));
    ScannedFrame narrower = pass(FrameKind::Blue, Bytes({1}), true);
    narrower.parameters.pixelsPerLine = 1;
    EXPECT_TRUE(PageImage({pass(FrameKind::Red, Bytes({1, 2}), false), narrower}).isNull());
}

// Unknown (-1), too many or too few lines announced: only whole lines that arrived count.
TEST(PageImage, LinesComeFromTheBytesAndOnlyCompleteLinesCount)
{
    const QByteArray fiveAndAHalfLines = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    for (const auto& [announced, lines] : {std::pair{-1, 5}, {8, 5}, {3, 3}})
        EXPECT_EQ(PageImage({Scanned(FrameKind::Gray, 8, 2, 2, announced, fiveAndAHalfLines)}).size(), QSize(2, lines))
            << announced;
    EXPECT_EQ(qGray(PageImage({Scanned(FrameKind::Gray, 8, 2, 2, -1, fiveAndAHalfLines)}).pixel(1, 4)), 10);

    EXPECT_TRUE(PageImage({Scanned(FrameKind::Gray, 8, 2, 2, 1, Bytes({1}))}).isNull()) << "not one whole line";
    EXPECT_TRUE(PageImage({Scanned(FrameKind::Gray, 12, 2, 4, 1, Bytes({1, 2, 3, 4}))}).isNull()) << "12-bit";
    EXPECT_TRUE(PageImage({Scanned(FrameKind::Rgb, 8, 2, 5, 1, Bytes({1, 2, 3, 4, 5}))}).isNull())
        << "line shorter than its pixels";
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

    FakeScanDevice threePass({Pass(FrameKind::Red, QByteArray(8, char(10)), false),
                              Pass(FrameKind::Green, QByteArray(8, char(20)), false),
                              Pass(FrameKind::Blue, QByteArray(8, char(30)), true)},
                             8);
    Progress passes;
    EXPECT_EQ(AcquirePage(threePass, std::ref(passes)).pixel(3, 1), qRgb(10, 20, 30));
    EXPECT_EQ(passes.calls.back(), std::make_pair(qint64(24), qint64(24)));

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
    FakeScanDevice halfPage({Pass(FrameKind::Red, QByteArray(8, char(1)), false)});
    EXPECT_TRUE(AcquirePage(halfPage, std::ref(any)).isNull());
}

TEST(CaptureGeometry, InstructionsNameTheDelayOnTheirSecondLine)
{
    EXPECT_EQ(CaptureInstructions(12).split(QStringLiteral("\r\n")).value(1),
              QStringLiteral("You have 12 seconds to do this after you click OK."));
}

// A start on the half second rounds to the even second.
TEST(CaptureGeometry, WaitIsWithinHalfASecondOfTheDelay)
{
    for (const auto& [start, wait] : {std::pair{QTime(14, 5, 9, 400), 4600}, {QTime(14, 5, 9, 600), 5400},
                                      {QTime(14, 5, 9, 500), 5500}, {QTime(14, 5, 10, 500), 4500},
                                      {QTime(23, 59, 58, 600), 5400}})
        EXPECT_EQ(CaptureWaitMs(start, 5), wait) << start.toString("hh:mm:ss.zzz").toStdString();
}

// Edges are rounded halves to even; a single pixel column has no width.
TEST(CaptureGeometry, RectangleIsTheSameFromEitherCorner)
{
    const QRect forward(100, 200, 120, 45);
    for (const auto& [a, b] : {std::pair{QPointF(100, 200), QPointF(220, 245)}, {QPointF(220, 200), QPointF(100, 245)}})
        EXPECT_EQ(CaptureRect(a, b), forward) << a.x() << "," << a.y();
    EXPECT_EQ(CaptureRect(QPointF(10.5, 11.5), QPointF(20.5, 21.5)), QRect(10, 12, 10, 10));
    EXPECT_EQ(CaptureRect(QPointF(5, 5), QPointF(5, 40)).width(), 0);
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
