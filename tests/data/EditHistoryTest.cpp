#include "data/EditHistory.h"
#include "data/RowsChange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace tracella;

namespace {

GridRows Rows(std::initializer_list<const char*> xs)
{
    GridRows rows;
    for (const char* x : xs)
        EXPECT_FALSE(rows.appendRow(AppendPointRowTexts(rows.rowCount(), {std::atof(x), true}, {1.0, true})));
    return rows;
}

std::vector<GridRow> All(const GridRows& rows)
{
    std::vector<GridRow> all;
    for (int r = 0; r < rows.rowCount(); ++r)
        all.push_back(rows.row(r));
    return all;
}

void Click(CurveDocument& d, double x)
{
    ASSERT_FALSE(d.appendRow(AppendPointRowTexts(d.rows().rowCount(), {x, true}, {x * 2, true})));
}

} // namespace

// Every kind of edit the data commands make, undone and redone exactly.
TEST(RowsChange, UndoAndRedoGiveBackEachSide)
{
    const struct {
        const char* name;
        std::function<void(GridRows&)> edit;
        std::size_t kept; // rows the change holds, before and after
    } cases[] = {
        {"a click",
         [](GridRows& r) {
             (void)r.appendRow(AppendPointRowTexts(r.rowCount(), {9.0, true}, {9.0, true}));
         },
         1},
        {"a cell set", [](GridRows& r) { r.setCell(2, 1, QStringLiteral("7.5")); }, 2},
        {"reversed (a sort)", [](GridRows& r) { std::reverse(r.dataRows().begin(), r.dataRows().end()); }, 10},
        {"nothing", [](GridRows&) {}, 0},
        {"a repeat removed where rows repeat", [](GridRows& r) { r.removeRows(4, 1); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GridRows before = Rows({"1", "2", "3", "3", "5"});
        GridRows after = before;
        c.edit(after);
        RowsChange change = RowsDifference(before, after);
        EXPECT_EQ(change.held.size() + static_cast<std::size_t>(change.inPlace), c.kept);
        GridRows rows = after;
        for (int round = 0; round < 2; ++round) {
            SwapRows(rows, change);
            EXPECT_EQ(All(rows), All(before));
            SwapRows(rows, change);
            EXPECT_EQ(All(rows), All(after));
        }
    }
}

TEST(EditHistory, KeepsTheLatestThousandSteps)
{
    CurveDocument d;
    for (int i = 0; i < 100; ++i)
        Click(d, i);
    const GridRow original = d.rows().row(d.rows().rowCount() - 1);
    EditHistory history(d);
    for (int i = 0; i < EditHistory::StepLimit + 5; ++i) {
        HistoryStep step(history, QStringLiteral("Point"));
        d.editRows([](GridRows& r) { r.truncate(r.rowCount() - 1); });
        Click(d, -i);
    }
    EXPECT_EQ(history.stack().count(), EditHistory::StepLimit);
    while (history.stack().canUndo())
        history.undo();
    EXPECT_EQ(d.rows().dataRowCount(), 100);
    EXPECT_NE(d.rows().row(d.rows().rowCount() - 1), original) << "the five oldest steps are gone";
}

// One click on a full grid costs its own row in the history, not the grid.
TEST(RowsChange, AClickOnAFullGridCostsAFewHundredBytes)
{
    GridRows before;
    while (before.rowCount() < MaxGridRowCount - 1)
        ASSERT_FALSE(before.appendRow(AppendPointRowTexts(before.rowCount(), {1.25, true}, {2.5, true})));
    GridRows after = before;
    ASSERT_FALSE(after.appendRow(AppendPointRowTexts(after.rowCount(), {3.0, true}, {4.0, true})));
    const RowsChange change = RowsDifference(before, after);
    EXPECT_EQ(change.first, MaxGridRowCount - 1);
    EXPECT_LE(change.bytes(), 400u);
}
