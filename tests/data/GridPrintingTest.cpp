#include "data/GridPrinting.h"
#include "support/OffscreenFonts.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace tracella;

namespace {

struct PrintRecord {
    std::vector<std::pair<int, int>> cells;
    int lastProgress = 0;
};

// Prints onto an image, one twip to the pixel, and notes the cells printed.
PrintRecord Print(const GridPrintView& grid, int px = 1, int py = 1)
{
    QImage page(grid.width + 10, grid.height + 10, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PrintRecord record;
    PrintGrid(painter, grid, px, py,
              {[](int r, int c) { return QStringLiteral("%1.%2").arg(r).arg(c); },
               [&record](int r, int c) { record.cells.emplace_back(r, c); },
               [&record](int counter) { record.lastProgress = counter; }});
    return record;
}

// Three columns of 100, rows of 20, in a grid 320 by 130 twips.
GridPrintView SmallGrid(int rows)
{
    GridPrintView grid;
    grid.columnWidths = {100, 100, 100};
    grid.rowHeights.assign(static_cast<std::size_t>(rows), 20);
    grid.width = 320;
    grid.height = 130;
    grid.border = true;
    grid.gridLines = true;
    return grid;
}

std::vector<int> RowsOfColumn(const PrintRecord& record, int column)
{
    std::vector<int> rows;
    for (const auto& [r, c] : record.cells) {
        if (c == column)
            rows.push_back(r);
    }
    return rows;
}

} // namespace

TEST(PrintGrid, PrintsOnlyWhatTheGridShows)
{
    // Border 1, rows of 20 + 1: rows starting at 1, 22, ..., 106 end below
    // 130; the seventh would start at 127 and reach past it.
    GridPrintView grid = SmallGrid(50);
    PrintRecord record = Print(grid);
    EXPECT_EQ(RowsOfColumn(record, 0), std::vector<int>({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(RowsOfColumn(record, 2), std::vector<int>({0, 1, 2, 3, 4, 5}));
    // The last row visited in each column counts, cut off or not.
    EXPECT_EQ(record.lastProgress, 3 * 7);
    EXPECT_EQ(record.cells.back(), std::make_pair(5, 2));

    // Scrolled down: the fixed header row, then from the top row on.
    grid.fixedRows = 1;
    grid.topRow = 30;
    record = Print(grid);
    EXPECT_EQ(RowsOfColumn(record, 1), std::vector<int>({0, 30, 31, 32, 33, 34}));

    // Without a fixed row the rows above the top one are skipped too.
    grid.fixedRows = 0;
    record = Print(grid);
    EXPECT_EQ(RowsOfColumn(record, 1), std::vector<int>({30, 31, 32, 33, 34, 35}));

    // A column that would reach the grid's right edge is left out.
    grid.width = 302;
    record = Print(grid);
    EXPECT_TRUE(RowsOfColumn(record, 2).empty());
    EXPECT_FALSE(RowsOfColumn(record, 1).empty());
}
