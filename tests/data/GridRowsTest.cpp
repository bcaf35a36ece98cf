#include "data/GridRows.h"

#include "support/Expect.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

GridRows ThreeRows()
{
    GridRows rows;
    for (const char16_t* line : {u"a1\tb1\tc1", u"a2\tb2\tc2", u"a3\tb3\tc3"})
        EXPECT_FALSE(rows.appendTabText(line));
    return rows;
}

} // namespace

TEST(GridRows, TabTextFillsFromTheLeftAndBlockTextJoinsByTabsAndReturns)
{
    GridRows rows = ThreeRows();
    ASSERT_FALSE(rows.appendTabText(u"\t\tz\tdropped"));
    EXPECT_EQ(rows.row(4), (GridRow{"", "", "z"}));
    // A block selected either way, or past the end.
    EXPECT_EQ(BlockText(rows, {2, 0, 3, 2}), "a2\tb2\tc2\ra3\tb3\tc3");
    EXPECT_EQ(BlockText(rows, {3, 2, 2, 0}), "a2\tb2\tc2\ra3\tb3\tc3");
    EXPECT_EQ(BlockText(rows, {0, 1, 1, 1}), "= X Axis =\rb1");
    EXPECT_EQ(BlockText(rows, {4, 2, 9, 5}), "z");
}

TEST(GridRows, HoldsAtMost32766PointsAndRefusesMoreIntact)
{
    GridRows rows;
    for (int n = 1; n < MaxGridRowCount; ++n)
        ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(n, {double(n), false}, {0.5, true})));
    const auto refused = rows.appendRow({"x", "y", "z"});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number, ErrorNumber::GridFull);
    EXPECT_TRUE(refused->description.contains("32766")) << refused->description.toStdString();
    EXPECT_TRUE(rows.appendTabText(u"x\ty\tz"));
    EXPECT_EQ(rows.row(32766), (GridRow{" 32766", " 32766", " .5"}));
}

TEST(GridRows, RemovesOnlyRangesInsideTheDataRows)
{
    GridRows rows = ThreeRows();
    EXPECT_FALSE(rows.removeRows(0, 1));
    EXPECT_FALSE(rows.removeRows(3, 2));
    EXPECT_FALSE(rows.removeRows(1, -1));
    EXPECT_TRUE(rows.removeRows(1, 2));
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.cell(1, 0), "a3");
    EXPECT_EQ(rows.cell(0, 0), "= Point =");
}
