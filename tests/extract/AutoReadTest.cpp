#include "ExtractGuiSupport.h"

#include "app/widgets/MainWindow.h"
#include "extract/ExtractMessages.h"
#include "extract/PictureColours.h"
#include "extract/SweepProgress.h"
#include "support/Expect.h"

#include <QApplication>

#include <gtest/gtest.h>


using namespace tracella;
using namespace tracella::test;

namespace {

// Runs the command, answering its report and any errors before it.
void AutoRead(TestApp& t, int reportsAndErrors = 1)
{
    for (int i = 0; i < reportsAndErrors; ++i)
        t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuDataAR"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(t.main().progressBarVisible());
}

// The report of a run that found so many, started and ended at the clock's time.
QString Report(TestApp& t, int found)
{
    const QString time = TimeOfDayText(t.services().clock.now().time());
    return AutoReadReportMessage(found, time, time).text;
}

// A white picture with dots of the AutoRead colour, swept one sample a pixel.
void ShowDots(TestApp& t, int width, int height, std::initializer_list<QPoint> dots)
{
    QImage picture = WhitePicture(width, height);
    for (const QPoint& dot : dots)
        picture.setPixel(dot, PixelOf(appState().ARDataColor));
    ShowPicture(t, picture);
    appState().ARCols = width;
    appState().ARRows = height;
}

} // namespace

// Uncalibrated, 50 columns across 0..10: the step is 0.2 in single precision,
// the column reaches RecordPoint in double and the row in single precision.
// The bottom row lies on the picture's lower edge, outside; fifty steps of
// the rounded column step pass the right edge. The report comes with a sound.
TEST(AutoRead, StoresColumnsInDoubleAndRowsInSinglePrecisionAndReports)
{
    TestApp t;
    QImage red(100, 100, QImage::Format_RGB32);
    red.fill(PixelOf(appState().ARDataColor + 100)); // red 250 + 100 wraps into green: a packed difference of 100
    ASSERT_EQ(red.pixel(0, 0), qRgb(94, 1, 0));
    ShowPicture(t, red);
    t.services().clock.current = QDateTime(QDate(2026, 3, 1), QTime(9, 41, 7));
    AutoRead(t);
    ASSERT_EQ(Grid().dataRowCount(), 50 * 50);
    EXPECT_EQ(Grid().cell(51, 0), QStringLiteral(" 51"));
    EXPECT_EQ(Grid().cell(51, 1), QStringLiteral(" .200000002980232"));
    EXPECT_EQ(Grid().cell(51, 2), QStringLiteral(" 10"));
    EXPECT_EQ(Grid().cell(52, 2), QStringLiteral(" 9.8"));
    EXPECT_EQ(Surface().markerCount(), 50 * 50);
    const QString time = TimeOfDayText(QTime(9, 41, 7));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0],
                  QStringLiteral("The number of values found and stored is: 2500\r\nStarting time: ") + time +
                      QStringLiteral("\r\nEnding time: ") + time,
                  QStringLiteral("Auto Reading"), MessageIcon::Information);
    EXPECT_EQ(t.services().sound.played.size(), 1u);
}

// The grid holds 32766 points: the sweep stops at the first point it cannot
// take and says so once.
TEST(AutoRead, StopsWithOneMessageWhenTheGridIsFull)
{
    TestApp t;
    ShowDots(t, 20, 20, {{2, 2}, {5, 5}, {8, 8}, {11, 11}, {14, 14}});
    app().data->grid().replaceRows([](GridRows& rows) {
        while (rows.rowCount() < MaxGridRowCount - 3)
            ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {1.0, true}, {2.0, true})));
    });
    AutoRead(t);
    EXPECT_EQ(Grid().rowCount(), MaxGridRowCount);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0],
                  QStringLiteral("The data grid is full: it holds at most 32766 points, so the reading stopped "
                                 "there.\r\n") + Report(t, 3),
                  QStringLiteral("Auto Reading"), MessageIcon::Exclamation);
    EXPECT_EQ(MarkedPixels(), (std::vector<QPoint>{{2, 2}, {5, 5}, {8, 8}}));
    EXPECT_EQ(Grid().cell(MaxGridRowCount - 1, 0), QStringLiteral(" 32766"));
}
