#pragma once

#include "data/GridRows.h"

#include <cstddef>
#include <vector>

namespace tracella {

// What one change did to a curve's rows: the rows from first on that it took
// away and those it put in their place. Only what differs is kept, so the
// history of a click on a full grid costs a row, not a copy of the grid.
struct RowsChange {
    int first = 1;                // the first row that differs (row 0 is the header)
    std::vector<GridRow> removed; // as they were
    std::vector<GridRow> added;   // as they are

    bool empty() const { return removed.empty() && added.empty(); }
    // About what the change holds in memory, texts included.
    std::size_t bytes() const;
};

// The change that turns before into after: rows equal at both ends are left out.
RowsChange RowsDifference(const GridRows& before, const GridRows& after);

// The rows as they were before the change (undo), or after it again (redo).
void RevertRows(GridRows& rows, const RowsChange& change);
void ReapplyRows(GridRows& rows, const RowsChange& change);

} // namespace tracella
