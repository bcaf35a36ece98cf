#include "data/GridEditing.h"

#include "support/Expect.h"
#include "app/core/NumberReading.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <random>

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

// The straight insertion the program was designed with, as the reference.
void InsertionSort(GridRows& rows, SortKey key)
{
    const int keyColumn = key == SortKey::X ? 1 : 2;
    const int otherColumn = 3 - keyColumn;
    const int n = rows.rowCount() - 1;
    std::vector<double> k(n + 1), o(n + 1);
    for (int i = 1; i <= n; ++i) {
        k[i] = LeadingNumber(rows.cell(i, keyColumn));
        o[i] = LeadingNumber(rows.cell(i, otherColumn));
    }
    for (int j = 2; j <= n; ++j) {
        const double a = k[j], b = o[j];
        int i = j - 1;
        while (i >= 1 && k[i] > a) {
            k[i + 1] = k[i];
            o[i + 1] = o[i];
            --i;
        }
        k[i + 1] = a;
        o[i + 1] = b;
    }
    for (int i = 1; i <= n; ++i) {
        rows.setCell(i, keyColumn, PlainNumberText(k[i]));
        rows.setCell(i, otherColumn, PlainNumberText(o[i]));
    }
}

// The designed loop: compare with the successor, remove it when equal.
void RemoveRepeatedOneByOne(GridRows& rows, SortKey key)
{
    InsertionSort(rows, key);
    const auto single = [&rows](int r, int c) { return static_cast<float>(LeadingNumber(rows.cell(r, c))); };
    int i = 1;
    while (i < rows.rowCount() - 1) {
        if (single(i, 1) == single(i + 1, 1) && single(i, 2) == single(i + 1, 2)) {
            rows.removeRows(i + 1, 1);
        } else {
            ++i;
        }
    }
    for (int r = 1; r < rows.rowCount(); ++r) {
        rows.setCell(r, 0, QString::number(r));
    }
}

// Few distinct values, written in several ways, so that equal keys and
// repeated points are common.
GridRows RandomRows(std::mt19937& random, int count)
{
    static const QString texts[] = {" .5", "0.5", "abc", "", " 12", "-3", "&H0C", "1.00000001", "1.00000002",
                                    " 1", "1E-05", "-.25", " 123456789", "2D2", "7x"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(texts) - 1);
    std::uniform_real_distribution<double> spread(-100, 100);
    GridRows rows;
    for (int i = 0; i < count; ++i) {
        const auto text = [&] { return random() % 4 == 0 ? NumberText(spread(random)) : texts[pick(random)]; };
        EXPECT_FALSE(rows.appendRow({NumberText(rows.rowCount()), text(), text()}));
    }
    return rows;
}

} // namespace

TEST(SortGridRows, OrdersByTheKeyStablyAndLeavesPointNumbersInPlace)
{
    GridRows rows = PointRows({{" 3", " 1"}, {" 1", " 2"}, {" 2", " 5"}, {" 1", " 0"}});
    SortGridRows(rows, SortKey::X);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "1", "2"}, {" 2", "1", "0"}, {" 3", "2", "5"}, {" 4", "3", "1"}}));

    SortGridRows(rows, SortKey::Y);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "1", "0"}, {" 2", "3", "1"}, {" 3", "1", "2"}, {" 4", "2", "5"}}));
    EXPECT_EQ(rows.row(0), GridHeaderRow());
}

TEST(SortGridRows, WritesBothColumnsBackInPlainForm)
{
    GridRows rows = PointRows({{" 12", "-.25"}, {" .5", " 1E-05"}, {"abc", "7 apples"}});
    SortGridRows(rows, SortKey::X);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{
                                    {" 1", "0", "7"}, {" 2", "0.5", "1E-05"}, {" 3", "12", "-0.25"}}));

    GridRows empty;
    SortGridRows(empty, SortKey::Y);
    EXPECT_EQ(empty.rowCount(), 1);
}

// Random rows against the loops the program was designed with.
TEST(GridEditing, SortAndRemoveRepeatedGiveTheRowsOfTheDesignedLoops)
{
    struct Case {
        const char* what;
        void (*edit)(GridRows&, SortKey);
        void (*reference)(GridRows&, SortKey);
        std::vector<int> counts;
    };
    const Case cases[] = {{"sort", SortGridRows, InsertionSort, {0, 1, 2, 3, 17, 200, 1000}},
                          {"remove repeated", RemoveRepeatedRows, RemoveRepeatedOneByOne, {0, 1, 2, 50, 500}}};
    std::mt19937 random(20040);
    for (const Case& c : cases) {
        for (const int count : c.counts) {
            for (const SortKey key : {SortKey::X, SortKey::Y}) {
                SCOPED_TRACE(testing::Message() << c.what << ", " << count << " rows");
                GridRows rows = RandomRows(random, count);
                GridRows expected = rows;
                c.edit(rows, key);
                c.reference(expected, key);
                EXPECT_EQ(DataRowsOf(rows), DataRowsOf(expected));
            }
        }
    }
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridRows rows = c.rows;
        RemoveRepeatedRows(rows, SortKey::X);
        EXPECT_EQ(DataRowsOf(rows), c.kept);
    }
    EXPECT_EQ(SinglePrecisionKey(1.00000001), static_cast<float>(1.00000001));
    EXPECT_EQ(SinglePrecisionKey(FLT_MAX), FLT_MAX);
    EXPECT_EQ(SinglePrecisionKey(3.5E38), SinglePrecisionKey(3.50000001E38));
    EXPECT_NE(SinglePrecisionKey(3.5E38), SinglePrecisionKey(3.5001E38));
    EXPECT_EQ(SinglePrecisionKey(-DBL_MAX), -SinglePrecisionKey(DBL_MAX));
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
            EXPECT_EQ(rows.cell(r, 2), QString::number(kept.back().unicode() - u'a' + 1));
            if (rows.rowCount() < 6) { // renumbered only when rows went
                EXPECT_EQ(rows.cell(r, 0), QString::number(r));
            }
        }
        EXPECT_EQ(kept, QString::fromLatin1(c.kept));
    }
    EXPECT_EQ(SelectedDataRows(PointRows({{"a", "1"}}), 0, 0).count, 0);
    GridRows empty;
    RemoveSelectedRows(empty, 0, 1);
    EXPECT_EQ(empty.rowCount(), 1);
}

TEST(RemoveAllRows, LeavesTheHeaderRowAlone)
{
    GridRows rows = PointRows({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    RemoveAllRows(rows);
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.row(0), GridHeaderRow());
    EXPECT_FALSE(HeaderRowFixed(rows.rowCount()));
    EXPECT_FALSE(HeaderRowFixed(2));
    EXPECT_TRUE(HeaderRowFixed(3));
}

// The cells of a date axis sort by their time and keep their ISO text.
TEST(DateCells, SortByTimeAndSurviveRemovingRepeats)
{
    GridRows rows = PointRows({{"2024-03-01T12:30", " 2"}, {"2024-01-15T08:00", " 1"}, {"2024-03-01T12:30", " 2"},
                               {"2024-03-01T09:00", " 2"}});
    RemoveRepeatedRows(rows, SortKey::X);
    EXPECT_EQ(DataRowsOf(rows), (std::vector<GridRow>{{"1", "2024-01-15T08:00", "1"}, {"2", "2024-03-01T09:00", "2"},
                                                      {"3", "2024-03-01T12:30", "2"}}));
}
