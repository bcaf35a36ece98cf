// A sort is kept in the history as where its texts went and how they were
// mended, not as a copy of the rows: undone and done again it must give back
// every text exactly, whatever form the texts had.
#include "data/EditHistory.h"
#include "data/GridEditing.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

std::vector<GridRow> AllRows(const GridRows& rows)
{
    std::vector<GridRow> all;
    for (int r = 0; r < rows.rowCount(); ++r)
        all.push_back(rows.row(r));
    return all;
}

void Sort(CurveDocument& d, SortKey key)
{
    d.reorderRows([key](GridRows& rows) {
        RowsReorder record;
        SortGridRows(rows, key, record);
        return record;
    });
}

struct Case {
    const char* name;
    std::vector<std::pair<QString, QString>> points;
    SortKey key = SortKey::X;
};

} // namespace

TEST(SortUndo, GivesBackEveryTextAndDoesTheSortAgain)
{
    const Case cases[] = {
        {"as the grid writes them", {{" 3.5", " 7"}, {" 1.25", " 2"}, {" 2", " 4"}}},
        {"blank and zero missing", {{" .75", "-.5"}, {" .25", " 1E+03"}, {"-.125", "2"}}},
        {"written anew", {{"1E+03", "x"}, {"2,5", "1.50"}, {"0.0", "007"}}},
        {"by Y, equal keys keep their order", {{"1", " 5"}, {"2", " 5"}, {"3", " .5"}}, SortKey::Y},
        {"dates", {{"2024-03-01", "1"}, {"2024-01-05", "2"}, {"2023-12-31", ".5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurveDocument d;
        EditHistory history(d);
        for (const auto& [x, y] : c.points)
            ASSERT_FALSE(d.appendRow({QString::number(d.rows().rowCount()), x, y}));
        history.clear();
        const std::vector<GridRow> before = AllRows(d.rows());
        GridRows sorted = d.rows();
        SortGridRows(sorted, c.key);

        {
            const HistoryStep step(history, QStringLiteral("Sort"));
            Sort(d, c.key);
        }
        ASSERT_EQ(AllRows(d.rows()), AllRows(sorted));
        ASSERT_EQ(history.stack().count(), 1);
        for (int round = 0; round < 2; ++round) {
            history.undo();
            EXPECT_EQ(AllRows(d.rows()), before) << round;
            history.redo();
            EXPECT_EQ(AllRows(d.rows()), AllRows(sorted)) << round;
        }
    }
}

// A sort with, in the same step, another change of the same curve or of the
// curve list: the step still takes all of it back, then does it again.
TEST(SortUndo, ASortMixedWithOtherChangesInOneStep)
{
    const auto rename = [](CurveDocument& d) { ASSERT_FALSE(d.rename(0, QStringLiteral("Renamed"))); };
    const auto sortByY = [](CurveDocument& d) { Sort(d, SortKey::Y); };
    const struct {
        const char* name;
        std::function<void(CurveDocument&)> first, then;
    } afters[] = {
        {"a point added", [](CurveDocument&) {},
         [](CurveDocument& d) { ASSERT_FALSE(d.appendRow({QStringLiteral("4"), QStringLiteral(" .1"), {}})); }},
        {"renamed first, sorted by Y after", rename, sortByY},
    };
    for (const auto& after : afters) {
        SCOPED_TRACE(after.name);
        CurveDocument d;
        EditHistory history(d);
        for (const auto& [x, y] : {std::pair{" 3", " .5"}, {" 1", "-.25"}, {" 2", " 8"}})
            ASSERT_FALSE(d.appendRow(
                {QString::number(d.rows().rowCount()), QString::fromLatin1(x), QString::fromLatin1(y)}));
        history.clear();
        const std::vector<GridRow> before = AllRows(d.rows());
        {
            const HistoryStep step(history, QStringLiteral("Sort"));
            after.first(d);
            Sort(d, SortKey::X);
            after.then(d);
        }
        const std::vector<GridRow> done = AllRows(d.curve(0).rows);
        const CurveList list = d.list();
        history.undo();
        EXPECT_EQ(AllRows(d.curve(0).rows), before);
        EXPECT_EQ(d.count(), 1);
        EXPECT_EQ(d.curve(0).name, QStringLiteral("Curve 1"));
        history.redo();
        EXPECT_EQ(AllRows(d.curve(0).rows), done);
        EXPECT_TRUE(d.list().sameCurves(list));
    }
}
