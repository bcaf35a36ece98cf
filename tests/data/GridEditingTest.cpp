#include "data/GridEditing.h"

#include "support/Expect.h"
#include "app/core/NumberText.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

GridRows PointRows(std::initializer_list<std::pair<const char*, const char*>> points)
{
    GridRows rows;
    for (const auto& [x, y] : points) {
        EXPECT_FALSE(rows.appendRow({NumberText(rows.rowCount()), x, y}));
    }
    return rows;
}

std::vector<GridRow> DataRowsOf(GridRows& rows)
{
    const auto data = rows.dataRows();
    return {data.begin(), data.end()};
}

} // namespace

// Stable on equal keys, point numbers left in place, both columns written back plainly.
TEST(SortGridRows, OrdersByTheKeyStablyInPlainForm)
{
    GridRows rows = PointRows({{" 3", " 1"}, {" 1", " 2"}, {" 2", " 5"}, {" 1", " 0"}});
    SortGridRows(rows, SortKey::X);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "1", "2"}, {" 2", "1", "0"}, {" 3", "2", "5"}, {" 4", "3", "1"}}));
    SortGridRows(rows, SortKey::Y);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "1", "0"}, {" 2", "3", "1"}, {" 3", "1", "2"}, {" 4", "2", "5"}}));

    rows = PointRows({{" 12", "-.25"}, {" .5", " 1E-05"}, {"abc", "7 apples"}});
    SortGridRows(rows, SortKey::X);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "0", "7"}, {" 2", "0.5", "1E-05"}, {" 3", "12", "-0.25"}}));
}

TEST(RemoveRepeatedRows, RemovesLaterSortedNeighboursEqualAtSinglePrecision)
{
    const struct {
        const char* name;
        GridRows rows;
        std::vector<GridRow> kept;
    } cases[] = {
        {"three alike", PointRows({{" 1", " 2"}, {" 1", " 2"}, {" 1", " 2"}}), {{"1", "1", "2"}}},
        {"apart", PointRows({{" 1", " 2"}, {" 1", " 3"}, {" 1", " 2"}}),
         {{"1", "1", "2"}, {"2", "1", "3"}, {"3", "1", "2"}}},
        {"close", PointRows({{"1.00000001", "5"}, {"1.00000002", "5"}, {"1.0001", "5"}, {"1.0001", "5.001"}}),
         {{"1", "1.00000001", "5"}, {"2", "1.0001", "5"}, {"3", "1.0001", "5.001"}}},
        // Beyond the single range values compare by seven digits.
        {"huge", PointRows({{"1E300", "1"}, {"1.00000001E300", "1"}, {"2E300", "1"}, {"-1E39", "1"},
                            {"-1.00000001E39", "1"}}),
         {{"1", "-1.00000001E+39", "1"}, {"2", "1E+300", "1"}, {"3", "2E+300", "1"}}},
        // The cells of a date axis sort by their time and keep their ISO text.
        {"dates", PointRows({{"2024-03-01T12:30", " 2"}, {"2024-01-15T08:00", " 1"}, {"2024-03-01T12:30", " 2"}}),
         {{"1", "2024-01-15T08:00", "1"}, {"2", "2024-03-01T12:30", "2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridRows rows = c.rows;
        RemoveRepeatedRows(rows, SortKey::X);
        EXPECT_EQ(DataRowsOf(rows), c.kept);
    }
}

// The selection may include the header row, run upwards or past the end.
TEST(RemoveSelectedRows, KeepsTheHeaderRowAndRenumbersPlainly)
{
    const struct {
        int first, last;
        const char* kept; // the X texts left
    } cases[] = {{2, 2, "acde"}, {0, 2, "cde"}, {5, 4, "abc"}, {4, 40, "abc"}, {0, 0, "abcde"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " to " << c.last);
        GridRows rows = PointRows({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"e", "5"}});
        RemoveSelectedRows(rows, c.first, c.last);
        EXPECT_EQ(rows.row(0), GridHeaderRow());
        QString kept;
        for (int r = 1; r < rows.rowCount(); ++r) {
            kept += rows.cell(r, 1);
            if (rows.rowCount() < 6) { // renumbered only when rows went
                EXPECT_EQ(rows.cell(r, 0), QString::number(r));
            }
        }
        EXPECT_EQ(kept, QString::fromLatin1(c.kept));
    }
}
