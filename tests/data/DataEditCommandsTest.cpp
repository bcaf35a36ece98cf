#include "DataGuiSupport.h"

#include <QAbstractItemModelTester>

using namespace tracella;
using namespace tracella::test;

namespace {

bool Checked(const char* option)
{
    return DataControl<QRadioButton>(option)->isChecked();
}

void ExpectEditDataQuestion(const Message& message, const QString& text)
{
    ExpectMessage(message, text, QStringLiteral("Edit Data"), MessageIcon::Question, MessageButtons::YesNo);
}

// Every change of the rows reaches the view as the model contract demands.
class DataCommands : public testing::Test {
protected:
    TestApp t;
    QAbstractItemModelTester tester{&DataForm().grid(), QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(DataCommands, SortsStablyThroughTheMenusAndTheButton)
{
    AddPoints({{3, 1}, {1, 2}, {2, 5}, {1, 0}});
    Edit("Text1")->setText(QStringLiteral("1"));
    ASSERT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 3"));

    t.main().tbToolBar_ButtonClick(QStringLiteral("SortYX"));
    EXPECT_TRUE(Checked("OptSortY"));
    EXPECT_EQ(DataColumn(2), QStringList({"0", "1", "2", "5"}));
    EXPECT_EQ(DataColumn(1), QStringList({"1", "3", "1", "2"}));

    t.run(QStringLiteral("mnuDataSortX"));
    EXPECT_TRUE(Checked("OptSortX"));
    EXPECT_FALSE(Checked("OptSortY"));
    EXPECT_EQ(DataColumn(1), QStringList({"1", "1", "2", "3"}));
    EXPECT_EQ(DataColumn(2), QStringList({"0", "2", "5", "1"}));
    EXPECT_EQ(DataColumn(0), QStringList({" 1", " 2", " 3", " 4"}));
    // The sort commands leave the edit boxes as they were...
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 3"));
    // ... the button reloads them from the row in Text1.
    QTest::mouseClick(DataControl<QPushButton>("cmdSort"), Qt::LeftButton);
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral("1"));
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral("0"));
}

TEST_F(DataCommands, RepeatedPointsGoWhenTheyAreSortedNeighbours)
{
    PictureSurface& surface = WhiteSurface();
    AddPoints({{1, 2}, {1, 2}, {1, 2}});
    t.run(QStringLiteral("mnuDataRemoveRepeated"));
    EXPECT_EQ(DataColumn(0), QStringList({"1"}));
    EXPECT_EQ(surface.markerCount(), 1);

    DataForm().grid().removeDataRows(1, 1);
    AddPoints({{1, 2}, {1, 3}, {1, 2}, {4, 4}});
    t.main().tbToolBar_ButtonClick(QStringLiteral("RemoveRepeated"));
    EXPECT_EQ(DataColumn(2), QStringList({"2", "3", "2", "4"}));
    EXPECT_EQ(DataColumn(0), QStringList({"1", "2", "3", "4"}));
    EXPECT_TRUE(DataForm().headerFixed());
    EXPECT_EQ(surface.markerCount(), 4);
    EXPECT_TRUE(t.services().messages.shown.empty());
}

TEST_F(DataCommands, RemoveSelectedAsksOnlyInTheDataWindowAndKeepsTheHeader)
{
    AddPoints({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    auto& messages = t.services().messages;
    Activate(&DataForm());

    // The header row and rows 1 and 2 selected: rows 1 and 2 go.
    DataForm().selectRows(0, 2);
    messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuDataRemoveSelected"));
    ASSERT_EQ(messages.shown.size(), 1u);
    ExpectEditDataQuestion(messages.shown[0], QStringLiteral("Delete selected rows from the data grid?"));
    EXPECT_EQ(DataColumn(1), QStringList({" 3", " 4", " 5"}));
    EXPECT_EQ(DataColumn(0), QStringList({"1", "2", "3"}));
    EXPECT_TRUE(DataForm().headerFixed());

    // The header row alone: still asked, nothing removed.
    DataForm().setHeaderFixed(false);
    DataForm().selectRows(0, 0);
    messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuPopUpRemove"));
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(DataForm().grid().rowCount(), 4);

    // No keeps the rows.
    DataForm().selectRows(2, 2);
    messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("mnuDataRemoveSelected"));
    EXPECT_EQ(DataForm().grid().rowCount(), 4);

    // With the picture window active, the row goes without a question.
    Activate(app().document);
    DataForm().selectRows(2, 2);
    t.main().tbToolBar_ButtonClick(QStringLiteral("RemoveSelected"));
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(DataColumn(1), QStringList({" 3", " 5"}));
    EXPECT_EQ(DataColumn(0), QStringList({"1", "2"}));
    EXPECT_TRUE(DataForm().headerFixed());
    t.services().expectScriptsUsed();
}

TEST_F(DataCommands, RemoveAllAlwaysAsksAndClearsTheMarkers)
{
    PictureSurface& surface = WhiteSurface();
    AddPoints({{1, 1}, {2, 2}, {3, 3}});
    t.run(QStringLiteral("mnuViewRefresh"));
    ASSERT_EQ(surface.markerCount(), 3);
    Activate(app().document);
    auto& messages = t.services().messages;

    messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("mnuDataRemoveAll"));
    ASSERT_EQ(messages.shown.size(), 1u);
    ExpectEditDataQuestion(messages.shown[0], QStringLiteral("Delete all the rows from the data grid?"));
    EXPECT_EQ(DataForm().grid().rowCount(), 4);
    EXPECT_EQ(surface.markerCount(), 3);

    messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuPopUpRemoveAll"));
    EXPECT_EQ(DataForm().grid().rowCount(), 1);
    EXPECT_EQ(DataForm().grid().cell(0, 1), QStringLiteral("= X Axis ="));
    EXPECT_EQ(surface.markerCount(), 0);
    EXPECT_FALSE(DataForm().headerFixed());
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
    EXPECT_EQ(SurfaceColourAt(surface, 0, 2), QColor(80, 255, 30));
    EXPECT_EQ(SurfaceColourAt(surface, 2, 5), QColor(80, 255, 30));
    EXPECT_EQ(SurfaceColourAt(surface, 9, 9), QColor(Qt::white));
    // The resize step ran: two or more rows fix the header.
    EXPECT_TRUE(DataForm().headerFixed());
}
