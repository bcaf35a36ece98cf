#include "ExtractGuiSupport.h"

#include "app/widgets/MainWindow.h"
#include "data/GridRows.h"
#include "support/Expect.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;
using namespace tracella::test;

namespace {

constexpr int Width = 400;
constexpr int Height = 300;

double Wave(double x)
{
    return 150 + 80 * std::sin(x / 40);
}

// A red antialiased wave from x = 30 to 370, a legend line of the same red
// at the top right, all on white.
QImage WavePlot()
{
    QImage picture = WhitePicture(Width, Height);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const Colour c = appState().ARDataColor;
    p.setPen(QPen(QColor(RedOf(c), GreenOf(c), BlueOf(c)), 3, Qt::SolidLine, Qt::FlatCap));
    QPainterPath path(QPointF(30, Wave(30)));
    for (double x = 30.25; x <= 370; x += 0.25)
        path.lineTo(x, Wave(x));
    p.drawPath(path);
    p.drawLine(QPointF(330, 20), QPointF(390, 20));
    return picture;
}

// A click on pixel i reads the frame at position i; the painter's line
// through the middle of pixel i lies at i + 0.5. Traced points read as clicks do.
double Painted(double position)
{
    return position + 0.5;
}

// X 0..10 across, Y 100..0 down.
QPointF OnLinearFrame(double x, double y)
{
    return {x * Width / 10, (100 - y) * Height / 100};
}

// The program with the wave plot shown and the panel open.
struct TraceApp {
    TestApp t;
    QWidget* panel = nullptr;
    explicit TraceApp(bool plot = true, double zoom = 1)
    {
        if (plot)
            ShowPicture(t, WavePlot());
        SetFrame({0, 100, 10, 0});
        app().document->zoomView(ViewZoom(zoom));
        t.run(QStringLiteral("mnuDataTrace"));
        panel = t.main().findChild<QWidget*>(QStringLiteral("frmTraceCurve"));
        EXPECT_NE(panel, nullptr);
    }
    template <typename T>
    T* control(const char* name)
    {
        return Child<T>(panel, name);
    }
    void click(const char* button) { control<QPushButton>(button)->click(); }
    void trace()
    {
        t.services().messages.answer(MessageAnswer::Ok);
        click("cmdTrace");
    }
    const Message& lastMessage() { return t.services().messages.shown.back(); }
    // Most of the rows traced from `first` on the wave; their columns in order.
    int pointsOnTheWave(bool strictlyRising, int first = 1)
    {
        const int points = Grid().rowCount() - first;
        int within = 0;
        for (int row = first; row < Grid().rowCount(); ++row) {
            const QPointF p = OnLinearFrame(CellValue(row, 1), CellValue(row, 2));
            within += std::abs(Painted(p.y()) - Wave(Painted(p.x()))) <= 0.5;
            if (row > first) {
                EXPECT_TRUE(strictlyRising ? CellValue(row, 1) > CellValue(row - 1, 1)
                                           : CellValue(row, 1) >= CellValue(row - 1, 1))
                    << row;
            }
        }
        EXPECT_GE(within, points * 98 / 100);
        return points;
    }
};

} // namespace

// On a view at 200 %, picking and dragging follow the zoom as clicks do.
// The pick chooses the follow, which takes the wave alone, legend left out
// without a region, in the curve's order; then the dragged region leaves the
// legend out of a trace of one point a column, in double precision.
TEST(TraceCurvePanel, FollowsThenTracesThePickedCurveThroughTheGrid)
{
    TraceApp a(true, 2.0);
    auto* follow = a.control<QRadioButton>("optTraceFollow");
    a.click("cmdTracePick");
    const QPoint onCurve(400, 2 * static_cast<int>(Wave(200.5)));
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, onCurve);
    EXPECT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(a.control<QFrame>("frameTraceColor")->palette().color(QPalette::Window),
              Surface().picture().image.pixelColor(onCurve / 2));
    EXPECT_TRUE(follow->isChecked());
    EXPECT_EQ(a.control<QSpinBox>("TxtTolerance")->value(), 80);
    a.trace();
    const int followed = a.pointsOnTheWave(false);
    EXPECT_GE(followed, 500);
    for (int row = 1; row < Grid().rowCount(); ++row)
        ASSERT_GT(Painted(OnLinearFrame(CellValue(row, 1), 0).x()), 28) << row;

    a.click("cmdTraceRegion");
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{20, 80});
    QTest::mouseMove(&Surface(), QPoint{400, 400});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{790, 520});
    EXPECT_EQ(a.control<QLabel>("lblTraceRegion")->text(), QStringLiteral("386 x 221 pixels from (10, 40)"));
    a.control<QRadioButton>("optTraceCurve")->setChecked(true);
    a.control<QSpinBox>("TxtTolerance")->setValue(40);
    a.trace();
    const int first = followed + 1, points = a.pointsOnTheWave(true, first);
    EXPECT_GE(points, 340);
    EXPECT_LE(points, 342);
    EXPECT_EQ(a.lastMessage().title, QStringLiteral("Trace Curve"));
    EXPECT_TRUE(a.lastMessage().text.startsWith(
        QStringLiteral("The number of values found and stored is: %1\r\nStarting time: ").arg(points)));
    for (int row = first; row < Grid().rowCount(); ++row)
        EXPECT_NEAR(CellValue(row, 1) * Width / 10, std::round(CellValue(row, 1) * Width / 10), 1e-9) << row;
    EXPECT_EQ(Grid().cell(first + 99, 1).trimmed().size(), QString::number(CellValue(first + 99, 1), 'g', 15).size());
    EXPECT_EQ(Surface().markerCount(), followed + points);
    // With neither picking nor dragging on, a click records a point as ever.
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{100, 100});
    EXPECT_EQ(Grid().rowCount(), first + points + 1);
    // The colour dialog's colour has no place to follow from.
    a.t.services().colours.script = {QColor(1, 2, 3)};
    a.click("cmdTraceColor");
    EXPECT_FALSE(follow->isEnabled());
}

// Each refusal stores nothing and says why; more points than the grid has
// room for are refused whole.
TEST(TraceCurvePanel, BadInputStoresNothingAndSaysWhy)
{
    TraceApp a(false);
    // Beside the picture, not over it.
    EXPECT_FALSE(a.panel->frameGeometry().intersects(QRect(Surface().mapToGlobal(QPoint()), Surface().size())));
    const auto refused = [&](const QString& reason) {
        a.trace();
        EXPECT_EQ(Grid().rowCount(), 1) << reason.toStdString();
        ExpectMessage(a.lastMessage(), reason + QStringLiteral("\r\nNothing was stored."),
                      QStringLiteral("Trace Curve"), MessageIcon::Exclamation);
    };
    refused(QStringLiteral("There is no picture to trace."));
    ShowPicture(a.t, WavePlot());
    a.control<QLineEdit>("TxtTraceStep")->setText(QStringLiteral("0"));
    refused(QStringLiteral("The step must be a number above 0 that gives at most 1000000 steps."));
    a.control<QLineEdit>("TxtTraceStep")->setText(QStringLiteral("1"));
    a.click("cmdTraceRegion");
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{50, 50}); // no drag: an empty region
    refused(QStringLiteral("The search region is empty: drag a region on the picture, or search the whole "
                           "picture."));
    // A region taken on a larger picture lies outside a smaller one.
    ShowPicture(a.t, WhitePicture(900, 900));
    a.click("cmdTraceRegion");
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{600, 600});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{800, 800});
    ShowPicture(a.t, WavePlot());
    refused(QStringLiteral("The search region lies outside the picture."));
    a.click("cmdTraceWhole");
    a.t.services().colours.script = {QColor(0, 0, 255)};
    a.click("cmdTraceColor");
    refused(QStringLiteral("The color was not found within the tolerance in the search region."));
    EXPECT_TRUE(a.t.services().sound.played.empty());

    // A tolerance that matches everything: one run down each of 400 columns,
    // against room for 300.
    a.t.services().colours.script = {QColor(128, 128, 128)};
    a.click("cmdTraceColor");
    a.control<QSpinBox>("TxtTolerance")->setValue(255);
    app().data->grid().replaceRows([](GridRows& rows) {
        while (rows.rowCount() < MaxGridRowCount - 300)
            ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {1.0, true}, {2.0, true})));
    });
    a.trace();
    EXPECT_EQ(Grid().rowCount(), MaxGridRowCount - 300);
    EXPECT_EQ(a.lastMessage().text,
              QStringLiteral("The trace found 400 points, but the data grid has room for only 300 more.\r\n"
                             "Search a smaller region, take a larger step or narrow the tolerance.\r\n"
                             "Nothing was stored."));
    EXPECT_EQ(Surface().markerCount(), 0);
}
