#pragma once

#include "data/GridRows.h"
#include "data/RowsReorder.h"

namespace tracella {

// The column every sort orders by, chosen with the sort option buttons.
enum class SortKey { X, Y };

// Sorts the data rows ascending by the key column's leading-number value,
// stable, carrying the other column along. Both columns are written back in
// PlainNumberText form; column 0 keeps its texts, so every point takes the
// number of the row it lands in.
void SortGridRows(GridRows& rows, SortKey key);
// The same, with how to take the sort back.
void SortGridRows(GridRows& rows, SortKey key, RowsReorder& record);

// The value two points are compared with when looking for repeated ones:
// the number at single precision. A value too large for single precision
// keeps its own exponent and is rounded to single precision's 24-bit
// significand, so such points too count as repeated exactly when they agree
// to about 7 significant digits.
double SinglePrecisionKey(double value);

// Sorts, then removes every row whose X and Y equal those of the row kept
// before it at single precision (only sorted neighbours are compared), and
// renumbers the points 1, 2, ...
void RemoveRepeatedRows(GridRows& rows, SortKey key);

// Writes "1", "2", ... into column 0 of the data rows.
void RenumberPoints(GridRows& rows);

// The data rows a selection of rows first ... last takes in: the header row
// is never among them. count is 0 when the selection holds no data row.
struct RowRange {
    int first = 1;
    int count = 0;
};
RowRange SelectedDataRows(const GridRows& rows, int firstSelected, int lastSelected);

// Removes the selected data rows and renumbers the points plainly.
void RemoveSelectedRows(GridRows& rows, int firstSelected, int lastSelected);

// Leaves the header row alone.
void RemoveAllRows(GridRows& rows);

} // namespace tracella
