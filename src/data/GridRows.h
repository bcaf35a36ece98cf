#pragma once

#include "app/core/AppError.h"
#include "app/core/NumberText.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>
#include <vector>

namespace tracella {

// Point number, X and Y: every cell holds text, not a number.
constexpr int GridColumnCount = 3;
using GridRow = std::array<QString, GridColumnCount>;

// Row counts are signed 16-bit numbers: the header row plus 32766 points.
constexpr int MaxGridRowCount = 32767;

// Row 0 of every grid.
GridRow GridHeaderRow();

// The cells of the row AppendPointRow adds when the grid has n rows.
GridRow AppendPointRowTexts(int n, PrecisionValue x, PrecisionValue y);

// The header row stays in place while scrolling only when at least two
// data rows follow it.
constexpr bool HeaderRowFixed(int rowCount) { return rowCount >= 3; }

// A rectangle of cells as the grid reports its selection; the corners may
// come in either order.
struct CellBlock {
    int row = 0, column = 0;
    int rowSel = 0, columnSel = 0;

    static CellBlock single(int row, int column) { return {row, column, row, column}; }
};

// The rows of one curve as the data grid shows them: header row 0, then one
// row per point.
class GridRows {
public:
    GridRows();

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int dataRowCount() const { return rowCount() - 1; }

    const GridRow& row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }
    const QString& cell(int row, int column) const { return this->row(row)[static_cast<std::size_t>(column)]; }
    void setCell(int row, int column, QString text);

    // Data rows 1 ... N, to rewrite or reorder in place.
    std::span<GridRow> dataRows() { return std::span<GridRow>(m_rows).subspan(1); }

    // Refused with GridFull, the rows untouched, when the grid holds
    // MaxGridRowCount rows already.
    [[nodiscard]] std::optional<AppError> appendRow(GridRow cells);
    // Splits at tabs into the columns from the left; missing cells stay
    // empty and text past the last column is dropped.
    [[nodiscard]] std::optional<AppError> appendTabText(QStringView text);

    // Removes count data rows from first on; false (nothing removed) when
    // the range is not inside the data rows.
    bool removeRows(int first, int count);
    // Keeps rows 0 ... rowCount - 1 (at least the header row).
    void truncate(int rowCount);
    // Takes count data rows from first on out of the grid, moved, not copied.
    std::vector<GridRow> takeRows(int first, int count) { return replaceRows(first, count, {}); }
    // Puts rows in place of count data rows from first on and returns those,
    // all moved. The caller keeps to MaxGridRowCount: a history puts back
    // only rows the grid held before.
    std::vector<GridRow> replaceRows(int first, int count, std::vector<GridRow> with);

private:
    std::vector<GridRow> m_rows;
};

// The clipboard text of a block: cells of a row separated by tabs, rows by
// a carriage return alone, nothing after the last cell. Cells outside the
// grid are left out.
QString BlockText(const GridRows& rows, const CellBlock& block);

} // namespace tracella
