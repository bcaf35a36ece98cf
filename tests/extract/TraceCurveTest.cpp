#include "ExtractGuiSupport.h"

#include "app/widgets/MainWindow.h"
#include "data/GridRows.h"

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

QWidget& Panel(TestApp& t)
{
    t.run(QStringLiteral("mnuDataTrace"));
    auto* panel = t.main().findChild<QWidget*>(QStringLiteral("frmTraceCurve"));
    EXPECT_NE(panel, nullptr);
    return *panel;
}

template <typename T>
T& Control(QWidget& panel, const char* name)
{
    T* control = panel.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return *control;
}

void Trace(TestApp& t, QWidget& panel)
{
    t.services().messages.answer(MessageAnswer::Ok);
    Control<QPushButton>(panel, "cmdTrace").click();
}

const Message& LastMessage(TestApp& t)
{
    return t.services().messages.shown.back();
}

} // namespace

TEST(TraceCurvePanel, OpensBesideThePictureWithItsControlsAndLeavesClicksAlone)
{
    TestApp t;
    ShowPicture(t, WavePlot());
    QWidget& panel = Panel(t);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(panel.isModal());
    // Beside the picture, not over it.
    const QRect picture(Surface().mapToGlobal(QPoint()), Surface().size());
    EXPECT_FALSE(panel.frameGeometry().intersects(picture));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Trace Curve"));
    const QSpinBox& tolerance = Control<QSpinBox>(panel, "TxtTolerance");
    EXPECT_EQ(tolerance.value(), 40);
    EXPECT_EQ(tolerance.minimum(), 0);
    EXPECT_EQ(tolerance.maximum(), 255);
    EXPECT_TRUE(Control<QRadioButton>(panel, "optStepPixels").isChecked());
    EXPECT_EQ(Control<QLineEdit>(panel, "TxtTraceStep").text(), QStringLiteral("1"));
    EXPECT_TRUE(Control<QRadioButton>(panel, "optTraceCurve").isChecked());
    EXPECT_TRUE(Control<QCheckBox>(panel, "chkTracePreview").isChecked());
    EXPECT_EQ(Control<QLabel>(panel, "lblTraceAxis").text(), QStringLiteral("X values"));
    EXPECT_EQ(Control<QLabel>(panel, "lblTraceRegion").text(), QStringLiteral("The whole picture"));
    for (const char* name : {"frameTraceColor", "cmdTracePick", "cmdTraceColor", "optStepUnits", "optTraceMarkers",
                             "cmdTraceRegion", "cmdTraceWhole", "cmdTraceClose"})
        EXPECT_NE(panel.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;

    // With neither picking nor dragging on, a click records a point as ever.
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{100, 100});
    EXPECT_EQ(Grid().rowCount(), 2);
    // The colour dialog through its seam; a cancel changes nothing.
    t.services().colours.script = {QColor(1, 2, 3), std::nullopt};
    Control<QPushButton>(panel, "cmdTraceColor").click();
    Control<QPushButton>(panel, "cmdTraceColor").click();
    EXPECT_EQ(Control<QFrame>(panel, "frameTraceColor").palette().color(QPalette::Window), QColor(1, 2, 3));
    // Picking takes the colour under the pointer and records nothing.
    Control<QPushButton>(panel, "cmdTracePick").click();
    const QPoint onCurve(200, static_cast<int>(Wave(200.5)));
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, onCurve);
    EXPECT_EQ(Grid().rowCount(), 2);
    EXPECT_EQ(Control<QFrame>(panel, "frameTraceColor").palette().color(QPalette::Window),
              Surface().picture().image.pixelColor(onCurve));
    EXPECT_FALSE(Control<QPushButton>(panel, "cmdTracePick").isChecked());
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{100, 100});
    EXPECT_EQ(Grid().rowCount(), 3);
    // On a see-through pixel it takes what shows there, not the hidden colour.
    QImage clear(Width, Height, QImage::Format_ARGB32);
    clear.fill(QColor(220, 20, 30, 0));
    ShowPicture(t, clear);
    Control<QPushButton>(panel, "cmdTracePick").click();
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, onCurve);
    EXPECT_EQ(Control<QFrame>(panel, "frameTraceColor").palette().color(QPalette::Window),
              Surface().palette().window().color());

    // The preview lies over the picture while the panel is open.
    QWidget* preview = Surface().findChild<QWidget*>(QStringLiteral("picTracePreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    Control<QPushButton>(panel, "cmdTraceClose").click();
    EXPECT_FALSE(preview->isVisible());
}

// A click on pixel i reads the frame at position i; the painter's line
// through the middle of pixel i lies at i + 0.5. Traced points read as clicks do.
double Painted(double position)
{
    return position + 0.5;
}

TEST(TraceCurvePanel, TracesOnePointPerColumnInDoublePrecisionThroughTheGrid)
{
    TestApp t;
    ShowPicture(t, WavePlot());
    SetFrame({0, 100, 10, 0});
    // Picking and dragging follow the zoom as clicks do.
    app().document->zoomView(ViewZoom(2.0));
    QWidget& panel = Panel(t);
    // The region leaves the legend out.
    Control<QPushButton>(panel, "cmdTraceRegion").click();
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{20, 80});
    QTest::mouseMove(&Surface(), QPoint{400, 400});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{790, 520});
    EXPECT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(Control<QLabel>(panel, "lblTraceRegion").text(), QStringLiteral("386 x 221 pixels from (10, 40)"));
    Trace(t, panel);

    const int points = Grid().rowCount() - 1;
    EXPECT_GE(points, 340);
    EXPECT_LE(points, 342);
    const Message& report = LastMessage(t);
    EXPECT_EQ(report.title, QStringLiteral("Trace Curve"));
    EXPECT_TRUE(report.text.startsWith(QStringLiteral("The number of values found and stored is: %1\r\n"
                                                      "Starting time: ")
                                           .arg(points)));
    EXPECT_EQ(t.services().sound.played.size(), 1u);
    int within = 0;
    for (int row = 1; row <= points; ++row) {
        const double x = CellValue(row, 1), y = CellValue(row, 2);
        const double px = x * Width / 10, py = (100 - y) * Height / 100;
        within += std::abs(Painted(py) - Wave(Painted(px))) <= 0.5;
        // Columns, each once, in order, in double precision.
        EXPECT_NEAR(px, std::round(px), 1e-9) << row;
        if (row > 1) {
            EXPECT_GT(x, CellValue(row - 1, 1));
        }
    }
    EXPECT_GE(within, points * 98 / 100);
    EXPECT_EQ(Grid().cell(100, 1).trimmed().size(), QString::number(CellValue(100, 1), 'g', 15).size());
    EXPECT_EQ(Surface().markerCount(), points);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A click on the curve's pixel in a traced column reads that column's X.
    app().document->zoomView(ViewZoom(1.0));
    const int column = 200;
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{column, static_cast<int>(Wave(column + 0.5))});
    const double clicked = CellValue(Grid().rowCount() - 1, 1);
    int same = 0;
    for (int row = 1; row <= points; ++row)
        same += CellValue(row, 1) == clicked;
    EXPECT_EQ(same, 1) << clicked;
}

TEST(TraceCurvePanel, StepsInDataUnitsOnLogAxes)
{
    TestApp t;
    ShowPicture(t, WavePlot());
    // X linear 0..10, Y log 1..10000.
    appState().YAxisLog = true;
    SetFrame({0, 4, 10, 0});
    QWidget& panel = Panel(t);
    Control<QLineEdit>(panel, "TxtTraceStep").setText(QStringLiteral("0.5"));
    Control<QRadioButton>(panel, "optStepUnits").setChecked(true);
    Trace(t, panel);
    // The multiples of 0.5 from 1 to 9 are on the curve; the legend adds its own.
    std::vector<double> xs;
    for (int row = 1; row < Grid().rowCount(); ++row) {
        const double x = CellValue(row, 1), y = CellValue(row, 2);
        const double py = (4 - std::log10(y)) * Height / 4;
        if (py < 30)
            continue; // the legend
        xs.push_back(x);
        EXPECT_NEAR(Painted(py), Wave(Painted(x * Width / 10)), 0.5) << x;
    }
    EXPECT_EQ(xs, (std::vector<double>{1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 6.5, 7, 7.5, 8, 8.5, 9}));
    EXPECT_EQ(Grid().cell(1, 1), QStringLiteral(" 1"));
}

TEST(TraceCurvePanel, BadInputStoresNothingAndSaysWhy)
{
    TestApp t;
    QWidget& panel = Panel(t);
    const auto refused = [&](const QString& reason) {
        Trace(t, panel);
        EXPECT_EQ(Grid().rowCount(), 1) << reason.toStdString();
        EXPECT_EQ(LastMessage(t).text, reason + QStringLiteral("\r\nNothing was stored."));
        EXPECT_EQ(LastMessage(t).title, QStringLiteral("Trace Curve"));
        EXPECT_EQ(LastMessage(t).icon, MessageIcon::Exclamation);
        EXPECT_TRUE(t.services().sound.played.empty());
    };
    refused(QStringLiteral("There is no picture to trace."));

    ShowPicture(t, WavePlot());
    Control<QLineEdit>(panel, "TxtTraceStep").setText(QStringLiteral("0"));
    refused(QStringLiteral("The step must be a number above 0 that gives at most 1000000 steps."));
    Control<QLineEdit>(panel, "TxtTraceStep").setText(QStringLiteral("1"));

    // A click without a drag makes an empty region.
    Control<QPushButton>(panel, "cmdTraceRegion").click();
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{50, 50});
    refused(QStringLiteral("The search region is empty: drag a region on the picture, or search the whole "
                           "picture."));
    // A region taken on a larger picture lies outside a smaller one. The
    // larger is see-through, hiding black: the light backdrop shows instead.
    QImage clear(900, 900, QImage::Format_ARGB32);
    clear.fill(QColor(0, 0, 0, 0));
    t.services().clipboard.setImage(clear);
    t.services().colours.script = {QColor(0, 0, 0)};
    Control<QPushButton>(panel, "cmdTraceColor").click();
    t.run(QStringLiteral("mnuPicturePaste"));
    Control<QPushButton>(panel, "cmdTraceRegion").click();
    QTest::mousePress(&Surface(), Qt::LeftButton, {}, QPoint{600, 600});
    QTest::mouseRelease(&Surface(), Qt::LeftButton, {}, QPoint{800, 800});
    refused(QStringLiteral("The color was not found within the tolerance in the search region."));
    ShowPicture(t, WavePlot());
    refused(QStringLiteral("The search region lies outside the picture."));
    Control<QPushButton>(panel, "cmdTraceWhole").click();

    // A tolerance that matches everything: one run down each of 400 columns,
    // against room for 300; the grid keeps what it had.
    t.services().colours.script = {QColor(128, 128, 128)};
    Control<QPushButton>(panel, "cmdTraceColor").click();
    Control<QSpinBox>(panel, "TxtTolerance").setValue(255);
    app().data->grid().replaceRows([](GridRows& rows) {
        while (rows.rowCount() < MaxGridRowCount - 300)
            ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {1.0, true}, {2.0, true})));
    });
    Trace(t, panel);
    EXPECT_EQ(Grid().rowCount(), MaxGridRowCount - 300);
    EXPECT_EQ(LastMessage(t).text,
              QStringLiteral("The trace found 400 points, but the data grid has room for only 300 more.\r\n"
                             "Search a smaller region, take a larger step or narrow the tolerance.\r\n"
                             "Nothing was stored."));
    EXPECT_EQ(Surface().markerCount(), 0);
}

// Picked on the curve at 200 %: the follow takes the wave alone, legend left
// out without a region, in the curve's order, reading as the trace does.
TEST(TraceCurvePanel, FollowsThePickedCurveOnAZoomedView)
{
    TestApp t;
    ShowPicture(t, WavePlot());
    SetFrame({0, 100, 10, 0});
    app().document->zoomView(ViewZoom(2.0));
    QWidget& panel = Panel(t);
    EXPECT_FALSE(Control<QRadioButton>(panel, "optTraceFollow").isEnabled());
    Control<QPushButton>(panel, "cmdTracePick").click();
    QTest::mouseClick(&Surface(), Qt::LeftButton, {}, QPoint{400, 2 * static_cast<int>(Wave(200.5))});
    EXPECT_TRUE(Control<QRadioButton>(panel, "optTraceFollow").isChecked());
    EXPECT_EQ(Control<QSpinBox>(panel, "TxtTolerance").value(), 80);
    Trace(t, panel);

    const int points = Grid().rowCount() - 1;
    // About the wave's length, one point a pixel along it.
    EXPECT_GE(points, 500);
    int within = 0;
    for (int row = 1; row <= points; ++row) {
        const double px = CellValue(row, 1) * Width / 10, py = (100 - CellValue(row, 2)) * Height / 100;
        within += std::abs(Painted(py) - Wave(Painted(px))) <= 0.5;
        ASSERT_GT(Painted(px), 28) << row; // nothing of the legend line at the top right
        if (row > 1) {
            ASSERT_GE(CellValue(row, 1), CellValue(row - 1, 1)) << row;
        }
    }
    EXPECT_GE(within, points * 98 / 100);

    // The colour dialog's colour has no place to follow from.
    t.services().colours.script = {QColor(1, 2, 3)};
    Control<QPushButton>(panel, "cmdTraceColor").click();
    EXPECT_FALSE(Control<QRadioButton>(panel, "optTraceFollow").isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(panel, "optTraceCurve").isChecked());
}
