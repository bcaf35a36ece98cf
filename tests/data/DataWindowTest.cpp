#include "DataGuiSupport.h"


using namespace tracella;
using namespace tracella::test;

namespace {

// A click on a cell of the grid, as the user gives it.
void ClickCell(int row, int column)
{
    QTableView* view = DataForm().gridView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(view->model()->index(row, column)).center());
}

void CloseDataWindow()
{
    qobject_cast<QMdiSubWindow*>(DataForm().parentWidget())->close();
    TestApp::settle();
}

} // namespace

TEST(DataWindow, APickedRowLoadsTheEditBoxesAndSetNewValuesStoresTheirTexts)
{
    TestApp t;
    PictureSurface& surface = WhiteSurface();
    AddPoints({{2, 3}, {4, 5}, {6, 7}});

    // The header row picked gives row 1, marked in half the points colour.
    ClickCell(0, 1);
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("1"));
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 2"));
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral(" 3"));
    EXPECT_EQ(SurfaceColourAt(surface, 2, 3), QColor(168, 127, 15));
    // A typed row number picks that row; one beyond the last leaves it.
    Edit("Text1")->setText(QStringLiteral("2.4"));
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral(" 5"));
    Edit("Text1")->setText(QStringLiteral("9"));
    EXPECT_EQ(DataForm().currentRow(), 2);

    Edit("Text1")->setText(QStringLiteral("2"));
    Edit("TxtXValue")->setText(QStringLiteral("  abc "));
    Edit("TxtYValue")->setText(QStringLiteral("\t5.5 "));
    QTest::mouseClick(DataControl<QPushButton>("cmdSetValues"), Qt::LeftButton);
    EXPECT_EQ(DataColumn(1), QStringList({" 2", "abc", " 6"}));
    EXPECT_EQ(DataColumn(2), QStringList({" 3", "\t5.5", " 7"}));
    // The refresh redrew every point; "abc" reads as X = 0.
    EXPECT_EQ(surface.markerCount(), 3);
    EXPECT_EQ(SurfaceColourAt(surface, 0, 5.5), QColor(80, 255, 30));
}

TEST(DataWindow, ClosingAsksOnlyWithPointsAndMaySaveFirst)
{
    TestApp t;
    auto& shown = t.services().messages.shown;
    CloseDataWindow();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(app().data.isNull());

    AddPoints({{1.5, -2}});
    t.services().messages.answer(MessageAnswer::No);
    CloseDataWindow();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0],
                  QStringLiteral("Values will be deleted from the grid if the grid window is closed.\r\n"
                                 "Do you want to close the window?"),
                  QStringLiteral("Data Points"), MessageIcon::Question, MessageButtons::YesNo);
    ASSERT_FALSE(app().data.isNull());

    // Yes, then No: closed, nothing saved.
    t.services().messages.answer(MessageAnswer::Yes);
    t.services().messages.answer(MessageAnswer::No);
    CloseDataWindow();
    ASSERT_EQ(shown.size(), 3u);
    ExpectMessage(shown[2], QStringLiteral("Save Data from the Grid?"), QStringLiteral("Last Call"),
                  MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_TRUE(app().data.isNull());
    EXPECT_TRUE(t.services().files.requests.empty());
    EXPECT_EQ(DataForm().grid().rowCount(), 1);
}
