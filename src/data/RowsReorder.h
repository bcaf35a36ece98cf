#pragma once

#include "data/GridRows.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tracella {

// What a sort did to a curve's rows, to be taken back and done again without
// a copy of them: a copy of every text would cost the sort many times over.
// Before moving the texts the sort brings them into plain form; most are
// mended in place (a blank taken from the front, a "0" put before the
// point), which a few bits per text say; the others are written anew and
// their other side's text is kept.
struct RowsReorder {
    enum Mend : std::uint8_t { BlankRemoved = 1, ZeroInserted = 2, Negative = 4, WrittenAnew = 8 };

    std::vector<int> from;    // data row i's moved texts came from data row from[i]
    std::vector<int> columns; // the columns that moved
    // Per data row and moved column, as they stood before the move; empty
    // when nothing was mended.
    std::vector<std::uint8_t> mends;
    std::vector<std::pair<std::size_t, QString>> written; // by place in mends
};

void UndoReorder(GridRows& rows, RowsReorder& reorder);
void RedoReorder(GridRows& rows, RowsReorder& reorder);

// Gives data row i the texts of the given columns of data row from[i],
// following each cycle of the permutation so that no text is copied.
void PermuteTexts(GridRows& rows, const std::vector<int>& from, const std::vector<int>& columns);

} // namespace tracella
