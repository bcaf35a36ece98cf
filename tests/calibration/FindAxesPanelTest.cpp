// Find Axes through the running program: the search runs off the window's
// thread, its proposal fills the Scale by Axes panel, Apply calibrates, and a
// click then reads the plot's own values.
#include "GeneratedPlot.h"
#include "ScaleAxesSupport.h"

#include "calibration/widgets/CalibrationLayer.h"
#include "calibration/widgets/ScaleAxesPanel.h"

#include <QElapsedTimer>
#include <QImage>

#include <cmath>

using namespace tracella;
using namespace tracella::test;
using namespace tracella::plots;

namespace {

// Until the search has come back, the window answering meanwhile.
bool SearchEnds(QWidget& panel)
{
    QElapsedTimer waited;
    waited.start();
    while (Control<QPushButton>(panel, "cmdFindAxes").text() != QStringLiteral("&Find Axes")) {
        if (waited.elapsed() > 60000)
            return false;
        TestApp::settle(20);
    }
    return true;
}

FoundMarks FoundOnPicture()
{
    return CalibrationLayerOf(&Surface())->found();
}

// X1, X2 at the first and last X ticks, Y1, Y2 likewise, with their labels.
void ExpectReferencesAtTheEndTicks(QWidget& panel, const Plot& plot)
{
    auto& table = Control<QTableWidget>(panel, "gridReferences");
    const struct {
        int row;
        QPointF tick;
        QString label;
    } expected[] = {{0, plot.xTicks.front(), plot.xLabels.front()},
                    {1, plot.xTicks.back(), plot.xLabels.back()},
                    {2, plot.yTicks.front(), plot.yLabels.front()},
                    {3, plot.yTicks.back(), plot.yLabels.back()}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.row);
        EXPECT_EQ(table.item(e.row, 2)->text().toDouble(), e.label.toDouble());
        const QStringList at = table.item(e.row, 1)->text().split(QStringLiteral(", "));
        ASSERT_EQ(at.size(), 2);
        EXPECT_LT(QLineF(QPointF(at[0].toDouble(), at[1].toDouble()), e.tick).length(), 0.5);
    }
}

} // namespace

TEST(FindAxes, ProposesTheLabelledTicksAndAClickReadsThePlotsValues)
{
    TestApp t;
    const Plot plot = Draw(Style{"plain", {800, 600}, 0, false, false, true});
    ShowPicture(t, plot.image);
    auto* panel = OpenScaleAxes(t, "mnuPictureFindAxes");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Control<QPushButton>(*panel, "cmdFindAxes").text(), QStringLiteral("&Cancel"));
    ASSERT_TRUE(SearchEnds(*panel));

    ExpectReferencesAtTheEndTicks(*panel, plot);
    EXPECT_FALSE(Control<QCheckBox>(*panel, "chkXLog").isChecked());

    Control<QPushButton>(*panel, "cmdApply").click();
    ASSERT_NE(activeCalibration().affine(), nullptr);
    // A click on the middle X tick reads its label.
    Control<QPushButton>(*panel, "cmdPlace").setChecked(false);
    const std::size_t middle = plot.xTicks.size() / 2;
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, plot.xTicks[middle].toPoint());
    ASSERT_EQ(Grid().rowCount(), 2);
    const double pixelX = (plot.xLabels.back().toDouble() - plot.xLabels.front().toDouble()) /
                          (plot.xTicks.back().x() - plot.xTicks.front().x());
    EXPECT_NEAR(CellValue(1, 1), plot.xLabels[static_cast<int>(middle)].toDouble(), std::abs(pixelX));
}

// Given up at once: the references stay as they were.
TEST(FindAxes, AGivenUpSearchChangesNothing)
{
    TestApp t;
    ShowPicture(t, Draw(Style{"plain", {800, 600}, 0, false, false, true}).image);
    auto* panel = OpenScaleAxes(t, "mnuPictureFindAxes");
    ASSERT_NE(panel, nullptr);
    Control<QPushButton>(*panel, "cmdFindAxes").click();
    ASSERT_TRUE(SearchEnds(*panel));
    EXPECT_EQ(Control<QLabel>(*panel, "lblFit").text(), QStringLiteral("The search was given up: nothing changed."));
    auto& table = Control<QTableWidget>(*panel, "gridReferences");
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(table.item(r, 1)->text(), QStringLiteral("click to place")) << r;
    EXPECT_TRUE(FoundOnPicture().ticks.empty());
    EXPECT_FALSE(t.main().progressBarVisible());
}

// An axis left to the user keeps the references placed on the same picture,
// but not those placed on a picture that has since gone.
TEST(FindAxes, AnAxisLeftKeepsOnlyReferencesOfTheSamePicture)
{
    // No labels: both axes are left to the user.
    const QImage unlabelled = Draw(Style{"plain", {800, 600}}).image;
    for (const bool another : {false, true}) {
        SCOPED_TRACE(another ? "another picture" : "same picture");
        TestApp t;
        ShowPicture(t, unlabelled);
        auto* panel = qobject_cast<ScaleAxesPanel*>(OpenScaleAxes(t));
        ASSERT_NE(panel, nullptr);
        auto& table = Control<QTableWidget>(*panel, "gridReferences");
        table.setCurrentCell(0, 2);
        panel->placeSelected({120, 500});
        table.item(0, 2)->setText(QStringLiteral("7"));
        if (another)
            t.paste(unlabelled.copy());
        Control<QPushButton>(*panel, "cmdFindAxes").click();
        ASSERT_TRUE(SearchEnds(*panel));
        EXPECT_EQ(table.item(0, 1)->text(), another ? QStringLiteral("click to place") : QStringLiteral("120, 500"));
        EXPECT_EQ(table.item(0, 2)->text(), another ? QString() : QStringLiteral("7"));
    }
}
