#include "acquire/PageAcquisition.h"
#include "ScanDoubles.h"

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::ColourRamp;
using tracella::test::FakeScanDevice;

namespace {

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

TEST(AcquirePage, ReadsTheFrameInPiecesReportingProgressAndEndsThePage)
{
    FakeScanDevice device({ColourRamp(5, 4)}, 16);
    Progress progress;
    const QImage page = AcquirePage(device, std::ref(progress));
    ASSERT_EQ(page.size(), QSize(5, 4));
    EXPECT_EQ(page.pixel(4, 3), qRgb(4, 3, 7));
    // 60 bytes in pieces of 16: progress after each piece, against the whole page.
    ASSERT_EQ(progress.calls.size(), 4u);
    EXPECT_EQ(progress.calls.front(), std::make_pair(qint64(16), qint64(60)));
    EXPECT_EQ(progress.calls.back(), std::make_pair(qint64(60), qint64(60)));
    EXPECT_EQ(device.starts, 1);
    EXPECT_EQ(device.cancels, 1);
}

TEST(AcquirePage, ThreePassesMakeOnePageAndAnUnknownLengthReportsZero)
{
    FakeScanDevice threePass({Pass(FrameKind::Red, QByteArray(8, char(10)), false),
                              Pass(FrameKind::Green, QByteArray(8, char(20)), false),
                              Pass(FrameKind::Blue, QByteArray(8, char(30)), true)},
                             8);
    Progress progress;
    const QImage page = AcquirePage(threePass, std::ref(progress));
    EXPECT_EQ(page.pixel(3, 1), qRgb(10, 20, 30));
    EXPECT_EQ(threePass.starts, 3);
    ASSERT_EQ(progress.calls.size(), 3u);
    EXPECT_EQ(progress.calls.back(), std::make_pair(qint64(24), qint64(24)));

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
    EXPECT_EQ(failing.cancels, 1);

    FakeScanDevice noPaper({FakeScanDevice::Frame{std::nullopt, {}}});
    EXPECT_TRUE(AcquirePage(noPaper, std::ref(any)).isNull());
    EXPECT_EQ(noPaper.reads, 0);
    EXPECT_EQ(noPaper.cancels, 1);

    // The second pass of a three-pass page never comes.
    FakeScanDevice halfPage({Pass(FrameKind::Red, QByteArray(8, char(1)), false)});
    EXPECT_TRUE(AcquirePage(halfPage, std::ref(any)).isNull());
}
