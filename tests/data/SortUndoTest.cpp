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
