#include "data/GridRows.h"

#include "support/Expect.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

GridRows ThreeRows()
{
    GridRows rows;
    EXPECT_FALSE(rows.appendTabText(u"a1\tb1\tc1"));
    EXPECT_FALSE(rows.appendTabText(u"a2\tb2\tc2"));
    EXPECT_FALSE(rows.appendTabText(u"a3\tb3\tc3"));
    return rows;
}

} // namespace

TEST(GridRows, StartsWithTheHeaderRowAlone)
{
    const GridRows rows;
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.dataRowCount(), 0);
    EXPECT_EQ(rows.cell(0, 0), "= Point =");
    EXPECT_EQ(rows.cell(0, 1), "= X Axis =");
    EXPECT_EQ(rows.cell(0, 2), "= Y Axis =");
}

TEST(GridRows, PointRowTextsFollowTheRowCountAndEachValuesPrecision)
{
    GridRows rows;
    for (const double x : {1.5, 2.0, 0.125}) {
        ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {x, true}, {-2, true})));
    }
    EXPECT_EQ(rows.row(1), (GridRow{" 1", " 1.5", "-2"}));
    EXPECT_EQ(rows.row(2), (GridRow{" 2", " 2", "-2"}));
    EXPECT_EQ(rows.row(3), (GridRow{" 3", " .125", "-2"}));

    const double pi = 3.14159265358979323846;
    const GridRow mixed = AppendPointRowTexts(7, {pi, true}, {pi, false});
    EXPECT_EQ(mixed, (GridRow{" 7", " 3.141593", " 3.14159265358979"}));
}

TEST(GridRows, TabTextFillsTheColumnsFromTheLeft)
{
    GridRows rows = ThreeRows();
    EXPECT_EQ(rows.row(2), (GridRow{"a2", "b2", "c2"}));

    ASSERT_FALSE(rows.appendTabText(u"only\tone"));
    EXPECT_EQ(rows.row(4), (GridRow{"only", "one", ""}));
    ASSERT_FALSE(rows.appendTabText(u"\t\tz\tdropped"));
    EXPECT_EQ(rows.row(5), (GridRow{"", "", "z"}));
}

TEST(GridRows, HoldsAtMost32766PointsAndRefusesMoreIntact)
{
    GridRows rows;
    for (int n = 1; n < MaxGridRowCount; ++n) {
        ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(n, {double(n), false}, {0.5, true})));
    }
    ASSERT_EQ(rows.rowCount(), 32767);

    const auto refused = rows.appendRow({"x", "y", "z"});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number, ErrorNumber::GridFull);
    EXPECT_TRUE(refused->description.contains("32766")) << refused->description.toStdString();
    EXPECT_TRUE(rows.appendTabText(u"x\ty\tz"));
    EXPECT_EQ(rows.rowCount(), 32767);
    EXPECT_EQ(rows.row(32766), (GridRow{" 32766", " 32766", " .5"}));

    ASSERT_TRUE(rows.removeRows(32766, 1));
    EXPECT_FALSE(rows.appendTabText(u"x\ty\tz"));
    EXPECT_EQ(rows.cell(32766, 0), "x");
}

TEST(GridRows, RemovesOnlyRangesInsideTheDataRows)
{
    GridRows rows = ThreeRows();
    EXPECT_FALSE(rows.removeRows(0, 1));
    EXPECT_FALSE(rows.removeRows(3, 2));
    EXPECT_FALSE(rows.removeRows(1, -1));
    EXPECT_EQ(rows.rowCount(), 4);

    EXPECT_TRUE(rows.removeRows(1, 2));
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.cell(1, 0), "a3");
    EXPECT_EQ(rows.cell(0, 0), "= Point =");

    rows.truncate(0);
    EXPECT_EQ(rows.rowCount(), 1);
}

TEST(GridRows, BlockTextSeparatesCellsByTabsAndRowsByCarriageReturns)
{
    const GridRows rows = ThreeRows();
    EXPECT_EQ(BlockText(rows, {2, 0, 3, 2}), "a2\tb2\tc2\ra3\tb3\tc3");
    // The selection may be made upwards or leftwards.
    EXPECT_EQ(BlockText(rows, {3, 2, 2, 0}), "a2\tb2\tc2\ra3\tb3\tc3");
    EXPECT_EQ(BlockText(rows, {0, 1, 1, 1}), "= X Axis =\rb1");
    EXPECT_EQ(BlockText(rows, CellBlock::single(2, 1)), "b2");
    EXPECT_EQ(BlockText(rows, {3, 2, 9, 5}), "c3");
}
