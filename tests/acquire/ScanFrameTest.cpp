#include "acquire/ScanFrame.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tracella;

namespace {

ScannedFrame Frame(FrameKind kind, int depth, int width, int bytesPerLine, int lines, QByteArray bytes)
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

} // namespace

TEST(PageImage, LineArtIsTwoColouredWithSetBitsBlackAndLinePaddingIgnored)
{
    // 10 pixels a line in 2 bytes plus one byte of padding; 2 lines.
    const QImage image = PageImage({Frame(FrameKind::Gray, 1, 10, 3, 2,
                                          Bytes({0b10000001, 0b01000000, 0xFF, 0b00000000, 0b11111111, 0xFF}))});
    ASSERT_EQ(image.size(), QSize(10, 2));
    EXPECT_EQ(image.format(), QImage::Format_Mono);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(0, 0), black);
    EXPECT_EQ(image.pixel(1, 0), white);
    EXPECT_EQ(image.pixel(7, 0), black);
    EXPECT_EQ(image.pixel(8, 0), white);
    EXPECT_EQ(image.pixel(9, 0), black);
    EXPECT_EQ(image.pixel(0, 1), white);
    EXPECT_EQ(image.pixel(7, 1), white);
    EXPECT_EQ(image.pixel(8, 1), black);
    EXPECT_EQ(image.pixel(9, 1), black);
}

TEST(PageImage, GreyAtEightAndSixteenBitsScaledToEightBits)
{
    const QImage eight = PageImage({Frame(FrameKind::Gray, 8, 3, 4, 2, Bytes({0, 128, 255, 99, 10, 20, 30, 99}))});
    ASSERT_EQ(eight.size(), QSize(3, 2));
    EXPECT_EQ(eight.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(eight.pixel(1, 0)), 128);
    EXPECT_EQ(qGray(eight.pixel(2, 0)), 255);
    EXPECT_EQ(qGray(eight.pixel(2, 1)), 30);

    const QImage sixteen = PageImage({Frame(FrameKind::Gray, 16, 4, 8, 1, Words({0, 65535, 0x8080, 257}))});
    ASSERT_EQ(sixteen.size(), QSize(4, 1));
    EXPECT_EQ(qGray(sixteen.pixel(0, 0)), 0);
    EXPECT_EQ(qGray(sixteen.pixel(1, 0)), 255);
    EXPECT_EQ(qGray(sixteen.pixel(2, 0)), 128);
    EXPECT_EQ(qGray(sixteen.pixel(3, 0)), 1);
    // Between two levels the nearer one: 200 is 0.78 of a level.
    EXPECT_EQ(qGray(PageImage({Frame(FrameKind::Gray, 16, 1, 2, 1, Words({200}))}).pixel(0, 0)), 1);
}

TEST(PageImage, ColourAtOneEightAndSixteenBits)
{
    const QImage eight = PageImage({Frame(FrameKind::Rgb, 8, 2, 6, 1, Bytes({255, 0, 0, 10, 20, 30}))});
    ASSERT_EQ(eight.size(), QSize(2, 1));
    EXPECT_EQ(eight.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(eight.pixel(1, 0), qRgb(10, 20, 30));

    const QImage sixteen = PageImage({Frame(FrameKind::Rgb, 16, 1, 6, 1, Words({65535, 0x8080, 0}))});
    EXPECT_EQ(sixteen.pixel(0, 0), qRgb(255, 128, 0));

    // In colour a set bit is full intensity: samples R G B R G B, MSB first.
    const QImage bits = PageImage({Frame(FrameKind::Rgb, 1, 2, 1, 1, Bytes({0b10101100}))});
    ASSERT_EQ(bits.size(), QSize(2, 1));
    EXPECT_EQ(bits.pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_EQ(bits.pixel(1, 0), qRgb(0, 255, 255));
}

TEST(PageImage, ThreePassFramesCombineInAnyOrderAndAMissingChannelStaysDark)
{
    auto pass = [](FrameKind kind, QByteArray bytes, bool last) {
        ScannedFrame f = Frame(kind, 8, 2, 2, 1, std::move(bytes));
        f.parameters.lastFrame = last;
        return f;
    };
    const QImage all = PageImage({pass(FrameKind::Green, Bytes({1, 2}), false),
                                  pass(FrameKind::Blue, Bytes({3, 4}), false),
                                  pass(FrameKind::Red, Bytes({5, 6}), true)});
    ASSERT_EQ(all.size(), QSize(2, 1));
    EXPECT_EQ(all.pixel(0, 0), qRgb(5, 1, 3));
    EXPECT_EQ(all.pixel(1, 0), qRgb(6, 2, 4));

    const QImage noBlue =
        PageImage({pass(FrameKind::Red, Bytes({9, 9}), false), pass(FrameKind::Green, Bytes({7, 7}), true)});
    EXPECT_EQ(noBlue.pixel(1, 0), qRgb(9, 7, 0));

    ScannedFrame narrower = pass(FrameKind::Blue, Bytes({1}), true);
    narrower.parameters.pixelsPerLine = 1;
    EXPECT_TRUE(PageImage({pass(FrameKind::Red, Bytes({1, 2}), false), narrower}).isNull());
}

TEST(PageImage, LinesComeFromTheBytesWhenUnknownAndOnlyCompleteLinesCount)
{
    const QByteArray fiveAndAHalfLines = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const QImage handScanned = PageImage({Frame(FrameKind::Gray, 8, 2, 2, -1, fiveAndAHalfLines)});
    EXPECT_EQ(handScanned.size(), QSize(2, 5));
    EXPECT_EQ(qGray(handScanned.pixel(1, 4)), 10);

    // Announced 8 lines, only 5 and a half arrived.
    EXPECT_EQ(PageImage({Frame(FrameKind::Gray, 8, 2, 2, 8, fiveAndAHalfLines)}).size(), QSize(2, 5));
    // More bytes than announced: the announced lines.
    EXPECT_EQ(PageImage({Frame(FrameKind::Gray, 8, 2, 2, 3, fiveAndAHalfLines)}).size(), QSize(2, 3));
}

TEST(PageImage, FramesThatMakeNoPictureGiveANullImage)
{
    EXPECT_TRUE(PageImage({}).isNull());
    EXPECT_TRUE(PageImage({Frame(FrameKind::Gray, 8, 2, 2, 1, Bytes({1}))}).isNull()) << "not one whole line";
    EXPECT_TRUE(PageImage({Frame(FrameKind::Gray, 12, 2, 4, 1, Bytes({1, 2, 3, 4}))}).isNull()) << "12-bit";
    EXPECT_TRUE(PageImage({Frame(FrameKind::Rgb, 8, 2, 5, 1, Bytes({1, 2, 3, 4, 5}))}).isNull())
        << "line shorter than its pixels";
    EXPECT_TRUE(PageImage({Frame(FrameKind::Gray, 8, 0, 0, 0, {})}).isNull());
}
