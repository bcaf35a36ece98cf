#include "data/widgets/GridModel.h"

namespace tracella {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent)
{
    alignments_.fill(Qt::AlignLeft | Qt::AlignVCenter);
}

void GridModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    alignments_[static_cast<std::size_t>(column)] = alignment;
    emit dataChanged(index(0, column), index(rows_.rowCount() - 1, column), {Qt::TextAlignmentRole});
}

void GridModel::setCell(int row, int column, const QString& text)
{
    rows_.setCell(row, column, text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

std::optional<AppError> GridModel::appendRow(GridRow cells)
{
    return appendWith([&] { return rows_.appendRow(std::move(cells)); });
}

std::optional<AppError> GridModel::appendTabText(QStringView text)
{
    return appendWith([&] { return rows_.appendTabText(text); });
}

std::optional<AppError> GridModel::appendWith(const std::function<std::optional<AppError>()>& append)
{
    if (rows_.rowCount() >= MaxGridRowCount) {
        return append(); // the refusal: nothing is added
    }
    const int row = rows_.rowCount();
    beginInsertRows(QModelIndex(), row, row);
    std::optional<AppError> refused = append();
    endInsertRows();
    return refused;
}

bool GridModel::removeDataRows(int first, int count)
{
    if (first < 1 || count < 1 || first + count > rows_.rowCount()) {
        return false;
    }
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    rows_.removeRows(first, count);
    endRemoveRows();
    return true;
}

void GridModel::rewriteTexts(const std::function<void(GridRows&)>& change)
{
    change(rows_);
    emit dataChanged(index(0, 0), index(rows_.rowCount() - 1, GridColumnCount - 1), {Qt::DisplayRole});
}

void GridModel::replaceRows(const std::function<void(GridRows&)>& change)
{
    beginResetModel();
    change(rows_);
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.rowCount();
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
        return rows_.cell(index.row(), index.column());
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
            return rows_.cell(0, section);
        }
        if (role == Qt::TextAlignmentRole) {
            return static_cast<int>(alignments_[static_cast<std::size_t>(section)]);
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace tracella
