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

struct CurveShot {
    QString name;
    std::optional<Colour> colour;
    std::vector<GridRow> rows;
    bool operator==(const CurveShot&) const = default;
};

// The curves as the user sees them; which one is shown is not part of it.
struct Shot {
    std::vector<CurveShot> curves;
    bool operator==(const Shot&) const = default;
};

Shot Take(const CurveDocument& d)
{
    Shot shot;
    for (int i = 0; i < d.count(); ++i)
        shot.curves.push_back({d.curve(i).name, d.curve(i).colour, All(d.curve(i).rows)});
    return shot;
}

void Click(CurveDocument& d, double x)
{
    ASSERT_FALSE(d.appendRow(AppendPointRowTexts(d.rows().rowCount(), {x, true}, {x * 2, true})));
}

// Two curves with a few points, the first one current.
void Fill(CurveDocument& d)
{
    for (double x : {3.0, 1.0, 2.0})
        Click(d, x);
    ASSERT_FALSE(d.add(QStringLiteral("Second")));
    Click(d, 7);
    d.setCurrent(0);
}

} // namespace

// Every kind of change the commands make is one step: undone it gives back
// the document before, redone the document after.
TEST(EditHistory, EachStepIsTakenBackAndDoneAgainExactly)
{
    const struct {
        const char* name;
        std::function<void(CurveDocument&)> change;
    } cases[] = {
        {"a click", [](CurveDocument& d) { Click(d, 4); }},
        {"typing", [](CurveDocument& d) { d.editRows([](GridRows& r) { r.setCell(2, 1, QStringLiteral("x")); }); }},
        {"another curve's rows", [](CurveDocument& d) { d.editRows(1, [](GridRows& r) { r.truncate(1); }); }},
        {"typing after a switch of curves", [](CurveDocument& d) {
             d.setCurrent(1);
             d.editRows([](GridRows& r) { r.setCell(1, 2, QStringLiteral("y")); });
         }},
        {"add a curve with points", [](CurveDocument& d) {
             ASSERT_FALSE(d.add(QStringLiteral("Third")));
             Click(d, 5);
         }},
        {"delete, then edit the next", [](CurveDocument& d) {
             ASSERT_FALSE(d.remove(1));
             Click(d, 8);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument d;
        Fill(d);
        EditHistory history(d);
        history.clear();
        const Shot before = Take(d);
        history.begin(QStringLiteral("Step"));
        c.change(d);
        history.end();
        const Shot after = Take(d);
        ASSERT_EQ(history.stack().count(), 1);
        EXPECT_EQ(history.stack().undoText(), QStringLiteral("Step"));
        for (int round = 0; round < 2; ++round) {
            history.undo();
            EXPECT_EQ(Take(d), before);
            history.redo();
            EXPECT_EQ(Take(d), after);
        }
    }
}

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
