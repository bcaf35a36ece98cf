#include "DataGuiSupport.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>

#include <array>
#include <cmath>

using namespace tracella;
using namespace tracella::test;

namespace {

QMdiSubWindow* DataSubWindow()
{
    return qobject_cast<QMdiSubWindow*>(DataForm().parentWidget());
}

// A click on a cell of the grid, as the user gives it.
void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTableView* view = DataForm().gridView();
    const QPoint centre = view->visualRect(view->model()->index(row, column)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, centre);
}

void ExpectBlock(const CellBlock& b, int row, int column, int rowSel, int columnSel)
{
    EXPECT_EQ((std::array{b.row, b.column, b.rowSel, b.columnSel}), (std::array{row, column, rowSel, columnSel}));
}

void CloseDataWindow()
{
    DataSubWindow()->close();
    TestApp::settle();
}

} // namespace

TEST(DataWindow, StartsWithTheHeaderRowInTheDesignedLayout)
{
    TestApp t;
    DataWindow& data = DataForm();
    const GridModel& grid = data.grid();
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.rows().row(0), GridHeaderRow());
    EXPECT_EQ(data.windowTitle(), QStringLiteral("Data Points"));
    EXPECT_FALSE(data.headerFixed());

    // 800, 1600 and 1600 twips wide, centred; the grid 4100 twips.
    QTableView* view = data.gridView();
    EXPECT_EQ(view->objectName(), QStringLiteral("GridData"));
    EXPECT_EQ(view->columnWidth(0), 53);
    EXPECT_EQ(view->columnWidth(1), 107);
    EXPECT_EQ(view->columnWidth(2), 107);
    EXPECT_EQ(view->geometry().topLeft(), QPoint(24, 16));
    EXPECT_EQ(view->width(), 273);
    EXPECT_EQ(grid.data(grid.index(0, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_TRUE(view->showGrid());
    EXPECT_EQ(DataSubWindow()->width(), 509);
    EXPECT_EQ(view->height(), int(0.8 * DataSubWindow()->height()));

    EXPECT_EQ(DataControl<QGroupBox>("Frame1")->title(), QStringLiteral("Edit Data Points"));
    EXPECT_EQ(DataControl<QGroupBox>("Frame1")->geometry(), QRect(312, 24, 169, 123));
    EXPECT_EQ(DataControl<QLabel>("Label1")->text(), QStringLiteral("Point Number"));
    EXPECT_EQ(Edit("Text1")->geometry(), QRect(80, 23, 80, 19));
    EXPECT_EQ(DataControl<QPushButton>("cmdSetValues")->text(), QStringLiteral("Set New Values"));
    EXPECT_EQ(DataControl<QGroupBox>("Frame2")->title(), QStringLiteral("Sort Data"));
    EXPECT_EQ(DataControl<QLabel>("Label4")->text(),
              QStringLiteral("Sort data grid into ascending numerical order based on X or Y "));
    EXPECT_EQ(DataControl<QPushButton>("cmdSort")->text(), QStringLiteral("&Sort"));
    EXPECT_TRUE(DataControl<QRadioButton>("OptSortX")->isChecked());
    EXPECT_FALSE(DataControl<QRadioButton>("OptSortY")->isChecked());
    EXPECT_TRUE(data.sortOnX());

    // Nothing to lose: closing asks nothing, and the next use brings back
    // a fresh window.
    CloseDataWindow();
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_TRUE(app().data.isNull());
    EXPECT_EQ(DataForm().grid().rowCount(), 1);
    EXPECT_TRUE(DataForm().isVisible());
}

TEST(DataWindow, AppendedRowsReadInNumberTextAndLeaveTheHeaderAsItWas)
{
    TestApp t;
    DataWindow& data = DataForm();
    // One data row keeps the header selectable after a resize.
    AddPoints({{1.5, -2}});
    data.Form_Resize();
    EXPECT_FALSE(data.headerFixed());
    AddPoints({{2, 0.25}, {0.125, 1e-5}});
    EXPECT_EQ(DataColumn(0), QStringList({" 1", " 2", " 3"}));
    EXPECT_EQ(DataColumn(1), QStringList({" 1.5", " 2", " .125"}));
    EXPECT_EQ(DataColumn(2), QStringList({"-2", " .25", " 1E-05"}));

    data.AppendPointRow({M_PI, false}, {M_PI, true});
    EXPECT_EQ(data.grid().cell(4, 1), QStringLiteral(" 3.14159265358979"));
    EXPECT_EQ(data.grid().cell(4, 2), QStringLiteral(" 3.141593"));

    // Filled point by point, the header row stays an ordinary row...
    EXPECT_FALSE(data.headerFixed());
    EXPECT_FALSE(data.gridView()->isRowHidden(0));
    EXPECT_TRUE(data.setCurrentCell(0, 1));
    // ... until the next resize fixes it above the rows.
    data.Form_Resize();
    EXPECT_TRUE(data.headerFixed());
    EXPECT_TRUE(data.gridView()->isRowHidden(0));
    EXPECT_TRUE(data.gridView()->horizontalHeader()->isVisible());
    EXPECT_EQ(data.grid().headerData(1, Qt::Horizontal).toString(), QStringLiteral("= X Axis ="));
    EXPECT_FALSE(data.setCurrentCell(0, 1));
    data.AppendPointRow({5, true}, {5, true});
    EXPECT_TRUE(data.headerFixed());
}

TEST(DataWindow, RowPickLoadsTheEditBoxesAndMarksThePoint)
{
    TestApp t;
    PictureSurface& surface = WhiteSurface();
    AddPoints({{2, 3}, {4, 5}, {6, 7}});

    // The header row picked gives row 1.
    ClickCell(0, 1);
    EXPECT_EQ(DataForm().currentRow(), 1);
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("1"));
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 2"));
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral(" 3"));
    // Half the points colour: RGB(80, 255, 30) \ 2.
    EXPECT_EQ(SurfaceColourAt(surface, 2, 3), QColor(168, 127, 15));

    ClickCell(3, 0);
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("3"));
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 6"));

    // A number beyond the last row leaves the row where it was and loads it again.
    Edit("TxtXValue")->setText(QStringLiteral("typed"));
    Edit("Text1")->setText(QStringLiteral("9"));
    EXPECT_EQ(DataForm().currentRow(), 3);
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral(" 6"));

    // Typing a row number picks that row.
    Edit("Text1")->setText(QStringLiteral("2.4"));
    EXPECT_EQ(DataForm().currentRow(), 2);
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral(" 5"));
}

TEST(DataWindow, ShiftClickAndCtrlShiftEndExtendTheSelectionAndTheCornerSelectsAll)
{
    TestApp t;
    for (int i = 1; i <= 60; ++i)
        AddPoints({{double(i), -double(i)}});
    DataForm().Form_Resize();
    ASSERT_TRUE(DataForm().headerFixed());

    ClickCell(2, 1);
    ClickCell(5, 2, Qt::ShiftModifier);
    ExpectBlock(DataForm().selectedBlock(), 2, 1, 5, 2);
    // The row pick still follows the row clicked.
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("5"));
    EXPECT_EQ(Edit("TxtYValue")->text(), QStringLiteral("-5"));

    QTest::keyClick(DataForm().gridView(), Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    ExpectBlock(DataForm().selectedBlock(), 2, 1, 60, 2);
    QTest::keyClick(DataForm().gridView(), Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    ExpectBlock(DataForm().selectedBlock(), 1, 0, 2, 1);

    // The corner of the fixed header row selects every data row.
    QHeaderView* header = DataForm().gridView()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    ExpectBlock(DataForm().selectedBlock(), 1, 0, 60, 2);
    // A plain click still selects one cell.
    ClickCell(3, 1);
    ExpectBlock(DataForm().selectedBlock(), 3, 1, 3, 1);
}

TEST(DataWindow, SetNewValuesStoresTheTrimmedTextsUnchecked)
{
    TestApp t;
    PictureSurface& surface = WhiteSurface();
    AddPoints({{2, 3}, {4, 5}, {6, 7}});

    for (const char* number : {"0", "-1", "9", "abc"}) {
        Edit("Text1")->setText(QString::fromLatin1(number));
        Edit("TxtXValue")->setText(QStringLiteral("1"));
        QTest::mouseClick(DataControl<QPushButton>("cmdSetValues"), Qt::LeftButton);
        EXPECT_EQ(DataColumn(1), QStringList({" 2", " 4", " 6"})) << number;
    }

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

TEST(DataWindow, ClosingWithPointsAsksTwiceAndMaySaveFirst)
{
    TestApp t;
    AddPoints({{1.5, -2}});
    const Message closeQuestion{QStringLiteral("Values will be deleted from the grid if the grid window is closed.\r\n"
                                               "Do you want to close the window?"),
                                QStringLiteral("Data Points"), MessageIcon::Question, MessageButtons::YesNo};
    const Message lastCall{QStringLiteral("Save Data from the Grid?"), QStringLiteral("Last Call"),
                           MessageIcon::Question, MessageButtons::YesNo};
    auto& shown = t.services().messages.shown;

    t.services().messages.answer(MessageAnswer::No);
    CloseDataWindow();
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], closeQuestion);
    ASSERT_FALSE(app().data.isNull());
    EXPECT_TRUE(DataForm().isVisible());
    EXPECT_EQ(DataForm().grid().rowCount(), 2);

    // Yes, then No: closed, nothing saved.
    t.services().messages.answer(MessageAnswer::Yes);
    t.services().messages.answer(MessageAnswer::No);
    CloseDataWindow();
    ASSERT_EQ(shown.size(), 3u);
    ExpectMessage(shown[2], lastCall);
    EXPECT_TRUE(app().data.isNull());
    EXPECT_TRUE(t.services().files.requests.empty());
    EXPECT_EQ(DataForm().grid().rowCount(), 1);
    // Yes, then Yes saves first: Curves.ClosingTheDataWindowSavesEveryCurveHoldingPoints.
    t.services().expectScriptsUsed();
}

TEST(DataWindow, RightPressPlaysTheClickAndOpensThePopUpMenu)
{
    TestApp t;
    AddPoints({{1, 1}, {2, 2}, {3, 3}});
    ASSERT_TRUE(DataForm().setCurrentCell(2, 1));

    QTableView* view = DataForm().gridView();
    const QPoint at = view->visualRect(view->model()->index(1, 1)).center();
    QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QMenu* popUp = t.main().menu(QStringLiteral("mnuPopUpMenu"));
    ASSERT_NE(popUp, nullptr);
    EXPECT_TRUE(popUp->isVisible());
    EXPECT_LE((popUp->pos() - view->viewport()->mapToGlobal(at)).manhattanLength(), 2);
    ASSERT_EQ(t.services().sound.played.size(), 1u);
    EXPECT_EQ(t.services().sound.played[0], FileBytes(QStringLiteral(":/sounds/48.wav")));
    // The press leaves the selection where it was.
    EXPECT_EQ(DataForm().currentRow(), 2);

    // Its Remove asks, the data window being the active one.
    popUp->hide();
    t.services().messages.answer(MessageAnswer::No);
    t.main().action(QStringLiteral("mnuPopUpRemove"))->trigger();
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    EXPECT_EQ(t.services().messages.shown[0].text, QStringLiteral("Delete selected rows from the data grid?"));
    EXPECT_EQ(t.services().messages.shown[0].title, QStringLiteral("Edit Data"));
    EXPECT_EQ(DataForm().grid().rowCount(), 4);

    // The fixed header row opens it as well.
    DataForm().Form_Resize();
    ASSERT_TRUE(DataForm().headerFixed());
    QWidget* header = view->horizontalHeader()->viewport();
    QTest::mousePress(header, Qt::RightButton, Qt::NoModifier, QPoint(header->width() / 2, header->height() / 2));
    EXPECT_TRUE(popUp->isVisible());
    EXPECT_EQ(t.services().sound.played.size(), 2u);
    popUp->hide();
}

TEST(DataWindow, MovingOverTheWindowOutsideItsControlsLeavesThePicture)
{
    TestApp t;
    appState().MouseOverPicture = true;
    QTest::mouseMove(&DataForm(), QPoint(DataForm().width() - 5, DataForm().height() - 5));
    EXPECT_FALSE(appState().MouseOverPicture);
}
