#include "data/RowsChange.h"

#include <algorithm>

namespace tracella {
namespace {

std::size_t RowBytes(const GridRow& row)
{
    std::size_t bytes = sizeof(GridRow);
    for (const QString& cell : row)
        bytes += static_cast<std::size_t>(cell.size()) * sizeof(QChar);
    return bytes;
}

// Cells still sharing their text are equal without reading it: most rows of
// a grid and its copy do, and reading every text costs a cache miss each.
bool SameRow(const GridRow& a, const GridRow& b)
{
    for (std::size_t c = 0; c < a.size(); ++c) {
        if (a[c].constData() != b[c].constData() && a[c] != b[c])
            return false;
    }
    return true;
}

} // namespace

std::size_t RowsChange::bytes() const
{
    std::size_t total = sizeof(RowsChange);
    for (const GridRow& row : held)
        total += RowBytes(row);
    return total;
}

RowsChange RowsDifference(GridRows before, const GridRows& after)
{
    const int shorter = std::min(before.rowCount(), after.rowCount());
    int first = 1;
    while (first < shorter && SameRow(before.row(first), after.row(first)))
        ++first;
    // Rows equal at the end, not reaching back into those equal at the start.
    int tail = 0;
    while (tail < shorter - first &&
           SameRow(before.row(before.rowCount() - 1 - tail), after.row(after.rowCount() - 1 - tail)))
        ++tail;
    RowsChange change;
    change.first = first;
    change.inPlace = after.rowCount() - tail - first;
    change.held = before.takeRows(first, before.rowCount() - tail - first);
    return change;
}

void SwapRows(GridRows& rows, RowsChange& change)
{
    const int held = static_cast<int>(change.held.size());
    change.held = rows.replaceRows(change.first, change.inPlace, std::move(change.held));
    change.inPlace = held;
}

} // namespace tracella
