// Find Axes through the running program: the search runs off the window's
// thread, its proposal fills the Scale by Axes panel, Apply calibrates, and a
// click then reads the plot's own values.
#include "GeneratedPlot.h"
#include "ScaleAxesSupport.h"

#include "calibration/widgets/AxisSearch.h"
#include "calibration/widgets/CalibrationLayer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProgressBar>
#include <QSignalSpy>

#include <cmath>
#include <functional>

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

// X1, X2 at the first and last X ticks, Y1, Y2 likewise, with their labels;
// the plot drawn `shift` from the picture's corner.
void ExpectReferencesAtTheEndTicks(QWidget& panel, const Plot& plot, QPointF shift = {})
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
        EXPECT_LT(QLineF(QPointF(at[0].toDouble(), at[1].toDouble()), e.tick + shift).length(), 0.5);
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

// While it looks, the search says how far it has got, the labels counted
// one by one; what it found is then drawn over the picture, each label as
// read, until the panel closes or another picture comes.
TEST(FindAxes, ShowsTheFoundTicksAndLabelsUntilTheyStopApplying)
{
    const Plot plot = Draw(Style{"plain", {800, 600}, 0, false, false, true});
    const struct {
        const char* name;
        std::function<void(TestApp& t, QWidget& panel)> clears;
    } endings[] = {
        {"closed", [](TestApp&, QWidget& panel) { panel.close(); }},
        {"another picture", [&](TestApp& t, QWidget&) { t.paste(plot.image.copy()); }},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.name);
        TestApp t;
        ShowPicture(t, plot.image);
        auto* panel = OpenScaleAxes(t);
        ASSERT_NE(panel, nullptr);
        QSignalSpy progress(panel->findChild<AxisSearch*>(QStringLiteral("AxisSearch")), &AxisSearch::progress);
        Control<QPushButton>(*panel, "cmdFindAxes").click();
        EXPECT_TRUE(progress.wait(10000));
        EXPECT_TRUE(t.main().progressBarVisible());
        ASSERT_TRUE(SearchEnds(*panel));
        EXPECT_FALSE(t.main().progressBarVisible());

        const FoundMarks marks = FoundOnPicture();
        EXPECT_EQ(marks.axes.size(), 2u);
        ASSERT_EQ(marks.ticks.size(), plot.xTicks.size() + plot.yTicks.size());
        ASSERT_GE(progress.size(), 2);
        EXPECT_EQ(progress.first().at(2).toInt(), 0) << "finding the axes is not counted";
        for (qsizetype i = 1; i < progress.size(); ++i) {
            EXPECT_EQ(progress.at(i).at(1).toInt(), i) << i;
            EXPECT_EQ(progress.at(i).at(2).toInt(), int(marks.ticks.size())) << i;
        }
        EXPECT_EQ(progress.size(), qsizetype(marks.ticks.size()) + 1);

        // Each true tick has its mark.
        for (std::size_t i = 0; i < marks.ticks.size(); ++i) {
            const std::size_t nx = plot.xTicks.size();
            const QPointF at = i < nx ? plot.xTicks[i] : plot.yTicks[i - nx];
            EXPECT_LT(QLineF(marks.ticks[i].pixel, at).length(), 0.5) << i;
        }

        ending.clears(t, *panel);
        TestApp::settle(20);
        EXPECT_TRUE(FoundOnPicture().ticks.empty());
        EXPECT_TRUE(FoundOnPicture().axes.empty());
    }
}

// Two plots side by side: a region dragged around the right one finds its
// ticks where they stand on the whole picture, whatever the left one says.
TEST(FindAxes, ARegionDraggedFirstIsSearchedAlone)
{
    Style left{"plain", {800, 600}};
    left.labels = true;
    left.xNumbers = Numbers::Thousands;
    left.yNumbers = Numbers::Log;
    const Plot plot = Draw(Style{"plain", {800, 600}, 0, false, false, true});
    QImage both(1600, 600, QImage::Format_RGB32);
    both.fill(Qt::white);
    {
        QPainter p(&both);
        p.drawImage(0, 0, Draw(left).image);
        p.drawImage(800, 0, plot.image);
    }
    TestApp t;
    ShowPicture(t, both);
    auto* panel = OpenScaleAxes(t);
    ASSERT_NE(panel, nullptr);
    auto& region = Control<QPushButton>(*panel, "cmdFindAxesRegion");
    region.click();
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(900, 300));
    EXPECT_EQ(Control<QLabel>(*panel, "lblFit").text(), QStringLiteral("Nothing was dragged: no search."));
    EXPECT_FALSE(region.isChecked());

    region.click();
    QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(805, 5));
    QTest::mouseMove(&Surface(), QPoint(1200, 300));
    QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(1595, 595));
    EXPECT_FALSE(region.isEnabled());
    ASSERT_TRUE(SearchEnds(*panel));
    EXPECT_TRUE(region.isEnabled());
    EXPECT_EQ(Grid().rowCount(), 1) << "the drag recorded no point";
    ExpectReferencesAtTheEndTicks(*panel, plot, QPointF(800, 0));
}
