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

// Replaces count rows from first on with the given ones.
void Splice(GridRows& rows, int first, int count, const std::vector<GridRow>& with)
{
    std::vector<GridRow> tail;
    for (int r = first + count; r < rows.rowCount(); ++r)
        tail.push_back(rows.row(r));
    rows.truncate(first);
    for (const GridRow& row : with)
        (void)rows.appendRow(row);
    for (GridRow& row : tail)
        (void)rows.appendRow(std::move(row));
}

} // namespace

std::size_t RowsChange::bytes() const
{
    std::size_t total = sizeof(RowsChange);
    for (const GridRow& row : removed)
        total += RowBytes(row);
    for (const GridRow& row : added)
        total += RowBytes(row);
    return total;
}

RowsChange RowsDifference(const GridRows& before, const GridRows& after)
{
    const int shorter = std::min(before.rowCount(), after.rowCount());
    int first = 1;
    while (first < shorter && before.row(first) == after.row(first))
        ++first;
    // Rows equal at the end, not reaching back into those equal at the start.
    int tail = 0;
    while (tail < shorter - first && before.row(before.rowCount() - 1 - tail) == after.row(after.rowCount() - 1 - tail))
        ++tail;
    RowsChange change;
    change.first = first;
    for (int r = first; r < before.rowCount() - tail; ++r)
        change.removed.push_back(before.row(r));
    for (int r = first; r < after.rowCount() - tail; ++r)
        change.added.push_back(after.row(r));
    return change;
}

void RevertRows(GridRows& rows, const RowsChange& change)
{
    Splice(rows, change.first, static_cast<int>(change.added.size()), change.removed);
}

void ReapplyRows(GridRows& rows, const RowsChange& change)
{
    Splice(rows, change.first, static_cast<int>(change.removed.size()), change.added);
}

} // namespace tracella
