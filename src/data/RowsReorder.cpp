#include "data/RowsReorder.h"

namespace tracella {
namespace {

void MendText(QString& text, std::uint8_t how, bool forward)
{
    const qsizetype zeroAt = (how & RowsReorder::Negative) ? 1 : 0;
    if (forward) {
        if (how & RowsReorder::BlankRemoved)
            text.remove(0, 1);
        if (how & RowsReorder::ZeroInserted)
            text.insert(zeroAt, u'0');
    } else {
        if (how & RowsReorder::ZeroInserted)
            text.remove(zeroAt, 1);
        if (how & RowsReorder::BlankRemoved)
            text.insert(0, u' ');
    }
}

// The mends are made before the move, so they are taken back after it.
void MendAll(GridRows& rows, RowsReorder& reorder, bool forward)
{
    if (reorder.mends.empty())
        return;
    const std::span<GridRow> data = rows.dataRows();
    const std::size_t width = reorder.columns.size();
    const auto cell = [&](std::size_t place) -> QString& {
        return data[place / width][std::size_t(reorder.columns[place % width])];
    };
    for (std::size_t place = 0; place < reorder.mends.size(); ++place)
        if (reorder.mends[place] & (RowsReorder::BlankRemoved | RowsReorder::ZeroInserted))
            MendText(cell(place), reorder.mends[place], forward);
    for (auto& [place, other] : reorder.written)
        std::swap(cell(place), other);
}

} // namespace

void PermuteTexts(GridRows& rows, const std::vector<int>& from, const std::vector<int>& columns)
{
    const std::span<GridRow> data = rows.dataRows();
    std::vector<bool> placed(from.size(), false);
    for (std::size_t start = 0; start < from.size(); ++start) {
        if (placed[start])
            continue;
        GridRow held;
        for (const int c : columns)
            held[std::size_t(c)] = std::move(data[start][std::size_t(c)]);
        for (std::size_t place = start;;) {
            placed[place] = true;
            const auto source = static_cast<std::size_t>(from[place]);
            GridRow& taken = source == start ? held : data[source];
            for (const int c : columns)
                data[place][std::size_t(c)] = std::move(taken[std::size_t(c)]);
            if (source == start)
                break;
            place = source;
        }
    }
}

void UndoReorder(GridRows& rows, RowsReorder& reorder)
{
    std::vector<int> back(reorder.from.size());
    for (std::size_t i = 0; i < reorder.from.size(); ++i)
        back[std::size_t(reorder.from[i])] = static_cast<int>(i);
    PermuteTexts(rows, back, reorder.columns);
    MendAll(rows, reorder, false);
}

void RedoReorder(GridRows& rows, RowsReorder& reorder)
{
    MendAll(rows, reorder, true);
    PermuteTexts(rows, reorder.from, reorder.columns);
}

} // namespace tracella
