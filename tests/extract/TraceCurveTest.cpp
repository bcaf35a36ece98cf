#include "ExtractGuiSupport.h"

#include "app/widgets/MainWindow.h"
#include "data/GridRows.h"
#include "support/Expect.h"

#include <QApplication>
#include <QCheckBox>
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

// The program with the wave plot shown and the panel open.
struct TraceApp {
    TestApp t;
    QWidget* panel = nullptr;
    explicit TraceApp(bool plot = true, const Frame& frame = BaseFrame, double zoom = 1, bool logY = false)
    {
        appState().YAxisLog = logY;
        if (plot)
            ShowPicture(t, WavePlot());
        SetFrame(frame);
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
    QColor colour() { return control<QFrame>("frameTraceColor")->palette().color(QPalette::Window); }
    void pickColour(const QColor& colour)
    {
        t.services().colours.script = {colour};
        click("cmdTraceColor");
    }
    void trace()
    {
        t.services().messages.answer(MessageAnswer::Ok);
        click("cmdTrace");
    }
    const Message& lastMessage() { return t.services().messages.shown.back(); }
    // Most of the traced rows on the wave in the given frame; the rows' columns in order.
    int pointsOnTheWave(const std::function<QPointF(double, double)>& pixel, bool strictlyRising)
    {
        const int points = Grid().rowCount() - 1;
        int within = 0;
        for (int row = 1; row <= points; ++row) {
            const QPointF p = pixel(CellValue(row, 1), CellValue(row, 2));
            within += std::abs(Painted(p.y()) - Wave(Painted(p.x()))) <= 0.5;
            if (row > 1) {
                EXPECT_TRUE(strictlyRising ? CellValue(row, 1) > CellValue(row - 1, 1)
                                           : CellValue(row, 1) >= CellValue(row - 1, 1))
                    << row;
            }
        }
        EXPECT_GE(within, points * 98 / 100);
        return points;
    }
};

QPointF OnLinearFrame(double x, double y)
{
    return {x * Width / 10, (100 - y) * Height / 100};
}

} // namespace

TEST(TraceCurvePanel, OpensBesideThePictureWithItsControlsAndLeavesClicksAlone)
{
    TraceApp a;
    QWidget& panel = *a.panel;
    EXPECT_TRUE(panel.isVisible());
    // Beside the picture, not over it.
    EXPECT_FALSE(panel.frameGeometry().intersects(QRect(Surface().mapToGlobal(QPoint()), Surface().size())));
    EXPECT_EQ(a.control<QSpinBox>("TxtTolerance")->value(), 40);

    // With neither picking nor dragging on, a click records a point as ever.
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{100, 100});
    EXPECT_EQ(Grid().rowCount(), 2);
    // Picking takes the colour under the pointer and records nothing.
    a.click("cmdTracePick");
    const QPoint onCurve(200, static_cast<int>(Wave(200.5)));
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, onCurve);
    EXPECT_EQ(Grid().rowCount(), 2);
    EXPECT_EQ(a.colour(), Surface().picture().image.pixelColor(onCurve));
    // On a see-through pixel it takes what shows there, not the hidden colour.
    QImage clear(Width, Height, QImage::Format_ARGB32);
    clear.fill(QColor(220, 20, 30, 0));
    ShowPicture(a.t, clear);
    a.click("cmdTracePick");
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, onCurve);
    EXPECT_EQ(a.colour(), Surface().palette().window().color());

    // The preview lies over the picture while the panel is open.
    QWidget* preview = Surface().findChild<QWidget*>(QStringLiteral("picTracePreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    a.click("cmdTraceClose");
    EXPECT_FALSE(preview->isVisible());
}

// Picking and dragging follow the zoom as clicks do; the region leaves the legend out.
TEST(TraceCurvePanel, TracesOnePointPerColumnInDoublePrecisionThroughTheGrid)
{
    TraceApp a(true, {0, 100, 10, 0}, 2.0);
    a.click("cmdTraceRegion");
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{20, 80});
    QTest::mouseMove(&Surface(), QPoint{400, 400});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{790, 520});
    EXPECT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(a.control<QLabel>("lblTraceRegion")->text(), QStringLiteral("386 x 221 pixels from (10, 40)"));
    a.trace();

    const int points = a.pointsOnTheWave(OnLinearFrame, true);
    EXPECT_GE(points, 340);
    EXPECT_LE(points, 342);
    EXPECT_EQ(a.lastMessage().title, QStringLiteral("Trace Curve"));
    EXPECT_TRUE(a.lastMessage().text.startsWith(
        QStringLiteral("The number of values found and stored is: %1\r\nStarting time: ").arg(points)));
    // Columns, each once, in double precision.
    for (int row = 1; row <= points; ++row)
        EXPECT_NEAR(CellValue(row, 1) * Width / 10, std::round(CellValue(row, 1) * Width / 10), 1e-9) << row;
    EXPECT_EQ(Grid().cell(100, 1).trimmed().size(), QString::number(CellValue(100, 1), 'g', 15).size());
    EXPECT_EQ(Surface().markerCount(), points);

    // A click on the curve's pixel in a traced column reads that column's X.
    app().document->zoomView(ViewZoom(1.0));
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{200, static_cast<int>(Wave(200.5))});
    const double clicked = CellValue(Grid().rowCount() - 1, 1);
    int same = 0;
    for (int row = 1; row <= points; ++row)
        same += CellValue(row, 1) == clicked;
    EXPECT_EQ(same, 1) << clicked;
}

// X linear 0..10, Y log 1..10000: the multiples of 0.5 from 1 to 9 are on
// the curve; the legend adds its own.
TEST(TraceCurvePanel, StepsInDataUnitsOnLogAxes)
{
    TraceApp a(true, {0, 4, 10, 0}, 1, true);
    a.control<QLineEdit>("TxtTraceStep")->setText(QStringLiteral("0.5"));
    a.control<QRadioButton>("optStepUnits")->setChecked(true);
    a.trace();
    std::vector<double> xs;
    for (int row = 1; row < Grid().rowCount(); ++row) {
        const double x = CellValue(row, 1), py = (4 - std::log10(CellValue(row, 2))) * Height / 4;
        if (py < 30)
            continue; // the legend
        xs.push_back(x);
        EXPECT_NEAR(Painted(py), Wave(Painted(x * Width / 10)), 0.5) << x;
    }
    EXPECT_EQ(xs, (std::vector<double>{1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 6.5, 7, 7.5, 8, 8.5, 9}));
}

TEST(TraceCurvePanel, BadInputStoresNothingAndSaysWhy)
{
    TraceApp a(false);
    const auto refused = [&](const QString& reason) {
        a.trace();
        EXPECT_EQ(Grid().rowCount(), 1) << reason.toStdString();
        ExpectMessage(a.lastMessage(), reason + QStringLiteral("\r\nNothing was stored."),
                      QStringLiteral("Trace Curve"), MessageIcon::Exclamation);
        EXPECT_TRUE(a.t.services().sound.played.empty());
    };
    refused(QStringLiteral("There is no picture to trace."));

    ShowPicture(a.t, WavePlot());
    a.control<QLineEdit>("TxtTraceStep")->setText(QStringLiteral("0"));
    refused(QStringLiteral("The step must be a number above 0 that gives at most 1000000 steps."));
    a.control<QLineEdit>("TxtTraceStep")->setText(QStringLiteral("1"));

    // A click without a drag makes an empty region.
    a.click("cmdTraceRegion");
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{50, 50});
    refused(QStringLiteral("The search region is empty: drag a region on the picture, or search the whole "
                           "picture."));
    // A region taken on a larger picture lies outside a smaller one. The
    // larger is see-through, hiding black: the light backdrop shows instead.
    QImage clear(900, 900, QImage::Format_ARGB32);
    clear.fill(QColor(0, 0, 0, 0));
    a.t.services().clipboard.setImage(clear);
    a.pickColour(QColor(0, 0, 0));
    a.t.run(QStringLiteral("mnuPicturePaste"));
    a.click("cmdTraceRegion");
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{600, 600});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{800, 800});
    refused(QStringLiteral("The color was not found within the tolerance in the search region."));
    ShowPicture(a.t, WavePlot());
    refused(QStringLiteral("The search region lies outside the picture."));
    a.click("cmdTraceWhole");

    // A tolerance that matches everything: one run down each of 400 columns,
    // against room for 300; the grid keeps what it had.
    a.pickColour(QColor(128, 128, 128));
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

// Picked on the curve at 200 %: the follow takes the wave alone, legend left
// out without a region, in the curve's order, reading as the trace does.
TEST(TraceCurvePanel, FollowsThePickedCurveOnAZoomedView)
{
    TraceApp a(true, {0, 100, 10, 0}, 2.0);
    auto* follow = a.control<QRadioButton>("optTraceFollow");
    a.click("cmdTracePick");
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{400, 2 * static_cast<int>(Wave(200.5))});
    EXPECT_TRUE(follow->isChecked());
    EXPECT_EQ(a.control<QSpinBox>("TxtTolerance")->value(), 80);
    a.trace();
    // About the wave's length, one point a pixel along it; nothing of the
    // legend line at the top right.
    EXPECT_GE(a.pointsOnTheWave(OnLinearFrame, false), 500);
    for (int row = 1; row < Grid().rowCount(); ++row)
        ASSERT_GT(Painted(OnLinearFrame(CellValue(row, 1), 0).x()), 28) << row;

    // The colour dialog's colour has no place to follow from.
    a.pickColour(QColor(1, 2, 3));
    EXPECT_FALSE(follow->isEnabled());
    EXPECT_TRUE(a.control<QRadioButton>("optTraceCurve")->isChecked());
}
