#include "ScaleAxesSupport.h"

#include "data/GridRows.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>

#include <cmath>

using namespace tracella;
using namespace tracella::test;

namespace {

double TrueCurve(double x)
{
    return 50 + 30 * std::sin(x);
}

// X 0..10 and Y 0..100 drawn turned by 2 degrees: the truth of every pixel.
QTransform Truth()
{
    QTransform t;
    t.translate(70, 390);
    t.rotate(-2);
    t.scale(48, -3.3);
    return t;
}

QPointF PixelOf(double x, double y)
{
    return Truth().map(QPointF(x, y));
}

QImage TurnedPlot()
{
    QImage picture = WhitePicture(600, 450);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(PixelOf(0, 0), PixelOf(10, 0));
    p.drawLine(PixelOf(0, 0), PixelOf(0, 100));
    const Colour c = appState().ARDataColor;
    p.setPen(QPen(QColor(RedOf(c), GreenOf(c), BlueOf(c)), 3, Qt::SolidLine, Qt::FlatCap));
    QPainterPath path(PixelOf(0.3, TrueCurve(0.3)));
    for (double x = 0.3; x <= 9.7; x += 0.01)
        path.lineTo(PixelOf(x, TrueCurve(x)));
    p.drawPath(path);
    return picture;
}

void Click(QPointF pixel)
{
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, pixel.toPoint());
}

// How far, in pixels, the values of a grid row lie from the curve.
double OffCurvePixels(int row)
{
    const QPointF at = PixelOf(CellValue(row, 1), CellValue(row, 2));
    double nearest = INFINITY;
    for (double x = CellValue(row, 1) - 0.2; x <= CellValue(row, 1) + 0.2; x += 0.0005)
        nearest = std::min(nearest, QLineF(at, PixelOf(x, TrueCurve(x))).length());
    return nearest;
}

} // namespace

TEST(ScaleAxesPanel, CalibratesATurnedPlotByAxisPointsAndCollectsOnIt)
{
    TestApp t;
    ShowPicture(t, TurnedPlot());
    auto* panel = OpenScaleAxes(t);
    ASSERT_NE(panel, nullptr);
    auto& table = Control<QTableWidget>(*panel, "gridReferences");
    ASSERT_EQ(table.rowCount(), 4);
    const QStringList names{"X1", "X2", "Y1", "Y2"};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(table.item(r, 0)->text(), names[r]);

    // Clicks place X1, X2, Y1, Y2 in turn; X2 lands wrong and is dragged home.
    Click(PixelOf(2, 0));
    Click(PixelOf(6, 0));
    Click(PixelOf(0, 20));
    Click(PixelOf(0, 90));
    const QPoint wrong = PixelOf(6, 0).toPoint(), right = PixelOf(9, 0).toPoint();
    QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, wrong);
    QMouseEvent move(QEvent::MouseMove, QPointF(right), Surface().mapToGlobal(QPointF(right)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Surface(), &move);
    QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, right);
    EXPECT_EQ(Grid().rowCount(), 1); // placing collects nothing
    EXPECT_EQ(table.item(1, 1)->text(), QStringLiteral("%1, %2").arg(right.x()).arg(right.y()));

    // A missing value is refused naming the point, and nothing is calibrated.
    const QStringList values{"2", "9", "20", "90"};
    for (int r = 0; r < 3; ++r)
        table.item(r, 2)->setText(values[r]);
    table.item(3, 2)->setText(QStringLiteral("90"));
    table.item(2, 2)->setText(QStringLiteral("90"));
    EXPECT_TRUE(Control<QLabel>(*panel, "lblFit").text().contains(QStringLiteral("Y points 1 and 2 have the same")));
    t.services().messages.answer(MessageAnswer::Ok);
    Control<QPushButton>(*panel, "cmdApply").click();
    EXPECT_EQ(t.services().messages.shown.back().title, QStringLiteral("Scale by Axes"));
    EXPECT_EQ(activeCalibration().affine(), nullptr);
    EXPECT_EQ(appState().frame(), BaseFrame);

    table.item(2, 2)->setText(QStringLiteral("20"));
    Control<QPushButton>(*panel, "cmdApply").click();
    ASSERT_NE(activeCalibration().affine(), nullptr);
    EXPECT_TRUE(t.main().action(QStringLiteral("mnuViewAxes"))->isChecked());

    // A click reads the turned plot within a pixel (the references were
    // clicked on whole pixels).
    Click(PixelOf(5, TrueCurve(5)));
    ASSERT_EQ(Grid().rowCount(), 2);
    EXPECT_LT(QLineF(PixelOf(CellValue(1, 1), CellValue(1, 2)), PixelOf(5, TrueCurve(5))).length(), 1.0);

    // AutoRead stores calibrated values of the curve's pixels.
    t.services().messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuDataRemoveAll"));
    appState().ARCols = 600;
    appState().ARRows = 450; // every pixel
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuDataAR"));
    ASSERT_GT(Grid().rowCount(), 50);
    for (int row = 1; row < Grid().rowCount(); ++row)
        ASSERT_LT(OffCurvePixels(row), 2.0) << row;

    // At 200 % a click reads the same place, and the axes drawn back grow with the view.
    t.services().messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuDataRemoveAll"));
    Surface().setZoom(ViewZoom(2.0));
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, (PixelOf(5, TrueCurve(5)) * 2).toPoint());
    ASSERT_EQ(Grid().rowCount(), 2);
    EXPECT_LT(QLineF(PixelOf(CellValue(1, 1), CellValue(1, 2)), PixelOf(5, TrueCurve(5))).length(), 1.0);
    auto* layer = Surface().findChild<QWidget*>(QStringLiteral("CalibrationLayer"));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->size(), Surface().size());

    // The View item hides the axes drawn back; the two-point Scale replaces the calibration.
    t.run(QStringLiteral("mnuViewAxes"));
    EXPECT_FALSE(t.main().action(QStringLiteral("mnuViewAxes"))->isChecked());
    t.run(QStringLiteral("mnuPictureResetScale"));
    EXPECT_EQ(activeCalibration().affine(), nullptr);
}
