#include "DataGuiSupport.h"

#include <QAbstractItemModelTester>

using namespace tracella;
using namespace tracella::test;

namespace {

// Every change of the rows reaches the view as the model contract demands.
class DataCommands : public testing::Test {
protected:
    TestApp t;
    QAbstractItemModelTester tester{&DataForm().grid(), QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(DataCommands, SortThroughTheToolbarTheMenuAndTheButtonThenRemoveRepeated)
{
    PictureSurface& surface = WhiteSurface();
    AddPoints({{3, 1}, {1, 2}, {1, 2}, {1, 0}});
    Edit("Text1")->setText(QStringLiteral("1"));
    t.main().tbToolBar_ButtonClick(QStringLiteral("SortYX"));
    EXPECT_TRUE(DataControl<QRadioButton>("OptSortY")->isChecked());
    EXPECT_EQ(DataColumn(2), QStringList({"0", "1", "2", "2"}));
    t.run(QStringLiteral("mnuDataSortX"));
    EXPECT_TRUE(DataControl<QRadioButton>("OptSortX")->isChecked());
    EXPECT_EQ(DataColumn(1), QStringList({"1", "1", "1", "3"}));
    EXPECT_EQ(DataColumn(2), QStringList({"0", "2", "2", "1"}));
    // The sort commands leave the edit boxes as they were; the button reloads them.
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 3"));
    QTest::mouseClick(DataControl<QPushButton>("cmdSort"), Qt::LeftButton);
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral("1"));

    t.main().tbToolBar_ButtonClick(QStringLiteral("RemoveRepeated"));
    EXPECT_EQ(DataColumn(2), QStringList({"0", "2", "1"}));
    EXPECT_EQ(DataColumn(0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(surface.markerCount(), 3);
    EXPECT_TRUE(t.services().messages.shown.empty());
}

TEST_F(DataCommands, RedrawsEveryPointAndSkipsWhatALogAxisCannotShow)
{
    PictureSurface& surface = WhiteSurface();
    AddPoints({{1, 2}, {0, 3}, {-1, 4}});
    DataForm().grid().appendTabText(u" 4\t 100\t 5");
    surface.drawDot(9, 9, Rgb(0, 0, 255));
    appState().XAxisLog = true;
    t.run(QStringLiteral("mnuViewRefresh"));
    EXPECT_EQ(surface.markerCount(), 2);
    EXPECT_EQ(SurfaceColourAt(surface, 2, 5), QColor(80, 255, 30));
    EXPECT_EQ(SurfaceColourAt(surface, 9, 9), QColor(Qt::white));
    EXPECT_TRUE(DataForm().headerFixed()); // the resize step ran
}
