#include "data/widgets/GridModel.h"

namespace tracella {

GridModel::GridModel(CurveDocument& curves, QObject* parent) : QAbstractTableModel(parent), curves_(curves)
{
    alignments_.fill(Qt::AlignLeft | Qt::AlignVCenter);
}

void GridModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    alignments_[static_cast<std::size_t>(column)] = alignment;
    emit dataChanged(index(0, column), index(rows().rowCount() - 1, column), {Qt::TextAlignmentRole});
}

void GridModel::setCell(int row, int column, const QString& text)
{
    curves_.editRows([&](GridRows& rows) { rows.setCell(row, column, text); });
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

std::optional<AppError> GridModel::appendRow(GridRow cells)
{
    return appendWith([&] { return curves_.appendRow(std::move(cells)); });
}

std::optional<AppError> GridModel::appendTabText(QStringView text)
{
    return appendWith([&] { return curves_.appendTabText(text); });
}

std::optional<AppError> GridModel::appendWith(const std::function<std::optional<AppError>()>& append)
{
    if (rows().rowCount() >= MaxGridRowCount) {
        return append(); // the refusal: nothing is added
    }
    const int row = rows().rowCount();
    beginInsertRows(QModelIndex(), row, row);
    std::optional<AppError> refused = append();
    endInsertRows();
    return refused;
}

bool GridModel::removeDataRows(int first, int count)
{
    if (first < 1 || count < 1 || first + count > rows().rowCount()) {
        return false;
    }
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    curves_.editRows([&](GridRows& rows) { rows.removeRows(first, count); });
    endRemoveRows();
    return true;
}

void GridModel::rewriteTexts(const std::function<void(GridRows&)>& change)
{
    curves_.editRows(change);
    textsChanged();
}

void GridModel::reorderTexts(const std::function<RowsReorder(GridRows&)>& change)
{
    curves_.reorderRows(change);
    textsChanged();
}

void GridModel::textsChanged()
{
    emit dataChanged(index(0, 0), index(rows().rowCount() - 1, GridColumnCount - 1), {Qt::DisplayRole});
}

void GridModel::replaceRows(const std::function<void(GridRows&)>& change)
{
    beginResetModel();
    curves_.editRows(change);
    endResetModel();
}

void GridModel::changeCurves(const std::function<void(CurveDocument&)>& change)
{
    beginResetModel();
    change(curves_);
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows().rowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return rows().cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(alignments_[static_cast<std::size_t>(index.column())]);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < GridColumnCount) {
        if (role == Qt::DisplayRole) {
            return rows().cell(0, section);
        }
        if (role == Qt::TextAlignmentRole) {
            return static_cast<int>(alignments_[static_cast<std::size_t>(section)]);
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace tracella
