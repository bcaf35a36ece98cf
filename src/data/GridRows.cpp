#include "data/GridRows.h"

#include <algorithm>

namespace tracella {

GridRow GridHeaderRow()
{
    return {QStringLiteral("= Point ="), QStringLiteral("= X Axis ="), QStringLiteral("= Y Axis =")};
}

GridRow AppendPointRowTexts(int n, PrecisionValue x, PrecisionValue y)
{
    return {NumberText(n), NumberText(x), NumberText(y)};
}

GridRows::GridRows()
{
    m_rows.push_back(GridHeaderRow());
}

void GridRows::setCell(int row, int column, QString text)
{
    m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

std::optional<AppError> GridRows::appendRow(GridRow cells)
{
    if (rowCount() >= MaxGridRowCount) {
        return AppError{ErrorNumber::GridFull,
                        QStringLiteral("The data grid is full: it holds at most %1 points.").arg(MaxGridRowCount - 1)};
    }
    m_rows.push_back(std::move(cells));
    return std::nullopt;
}

std::optional<AppError> GridRows::appendTabText(QStringView text)
{
    GridRow cells;
    qsizetype start = 0;
    for (QString& cell : cells) {
        const qsizetype tab = text.indexOf(u'\t', start);
        cell = text.mid(start, tab < 0 ? -1 : tab - start).toString();
        if (tab < 0) {
            break;
        }
        start = tab + 1;
    }
    return appendRow(std::move(cells));
}

bool GridRows::removeRows(int first, int count)
{
    if (first < 1 || count < 0 || first + count > rowCount()) {
        return false;
    }
    const auto begin = m_rows.begin() + first;
    m_rows.erase(begin, begin + count);
    return true;
}

std::vector<GridRow> GridRows::replaceRows(int first, int count, std::vector<GridRow> with)
{
    const auto begin = m_rows.begin() + first;
    std::vector<GridRow> taken(std::make_move_iterator(begin), std::make_move_iterator(begin + count));
    if (with.size() == taken.size()) {
        std::move(with.begin(), with.end(), begin);
    } else {
        m_rows.erase(begin, begin + count);
        m_rows.insert(m_rows.begin() + first, std::make_move_iterator(with.begin()),
                      std::make_move_iterator(with.end()));
    }
    return taken;
}

void GridRows::truncate(int rowCount)
{
    m_rows.resize(static_cast<std::size_t>(std::clamp(rowCount, 1, this->rowCount())));
}

QString BlockText(const GridRows& rows, const CellBlock& block)
{
    const int firstRow = std::max(std::min(block.row, block.rowSel), 0);
    const int lastRow = std::min(std::max(block.row, block.rowSel), rows.rowCount() - 1);
    const int firstColumn = std::max(std::min(block.column, block.columnSel), 0);
    const int lastColumn = std::min(std::max(block.column, block.columnSel), GridColumnCount - 1);

    QString text;
    for (int r = firstRow; r <= lastRow; ++r) {
        if (r > firstRow) {
            text += u'\r';
        }
        for (int c = firstColumn; c <= lastColumn; ++c) {
            if (c > firstColumn) {
                text += u'\t';
            }
            text += rows.cell(r, c);
        }
    }
    return text;
}

} // namespace tracella
