#pragma once

#include "data/GridRows.h"

#include <cstddef>
#include <vector>

namespace tracella {

// What one change did to a curve's rows, kept as the rows the other side
// has: the rows before the change while it stands, the rows after it while
// it is undone. Only what differs is kept, and rows are moved, never copied,
// so the history of a click on a full grid costs a row, not a copy of the
// grid, and undoing a sort costs no more than the sort.
struct RowsChange {
    int first = 1;              // the first row that differs (row 0 is the header)
    std::vector<GridRow> held;  // the other side's rows from first on
    int inPlace = 0;            // how many rows from first on stand in their place now

    bool empty() const { return held.empty() && inPlace == 0; }
    // About what the change holds in memory, texts included.
    std::size_t bytes() const;
};

// The change that turned before into after; before's rows are taken, not copied.
RowsChange RowsDifference(GridRows before, const GridRows& after);

// Puts the held rows back in place and keeps the ones they replace: undone
// the first time, done again the next, and so on.
void SwapRows(GridRows& rows, RowsChange& change);

} // namespace tracella
