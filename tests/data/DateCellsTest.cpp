#include "app/core/NumberText.h"
#include "data/GridEditing.h"
#include "data/GridRows.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tracella;

// The cells of a date axis sort by their time and keep their ISO text.
TEST(DateCells, SortByTimeAndSurviveRemovingRepeats)
{
    GridRows rows;
    const std::pair<const char*, const char*> cells[] = {{"2024-03-01T12:30", " 2"},
                                                         {"2024-01-15T08:00", " 1"},
                                                         {"2024-03-01T12:30", " 2"},
                                                         {"2024-03-01T09:00", " 2"}};
    for (const auto& [x, y] : cells)
        ASSERT_FALSE(rows.appendRow({NumberText(rows.rowCount()), QString::fromLatin1(x), QString::fromLatin1(y)}));
    RemoveRepeatedRows(rows, SortKey::X);
    QStringList xs;
    for (int r = 1; r < rows.rowCount(); ++r)
        xs << rows.cell(r, 1);
    EXPECT_EQ(xs, QStringList({"2024-01-15T08:00", "2024-03-01T09:00", "2024-03-01T12:30"}));
}
