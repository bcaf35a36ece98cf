#pragma once

#include "data/CurveDocument.h"

#include <QAbstractTableModel>

#include <array>
#include <functional>

namespace tracella {

// The current curve's rows as GridData's table model; the rows stay in the
// curves. Every change goes through the methods below, so the view hears of
// exactly what changed.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(CurveDocument& curves, QObject* parent = nullptr);

    const GridRows& rows() const { return curves_.rows(); }
    const CurveDocument& curves() const { return curves_; }
    QString cell(int row, int column) const { return rows().cell(row, column); }
    void setCell(int row, int column, const QString& text);

    // Refused with the error, the rows untouched, when the grid is full.
    std::optional<AppError> appendRow(GridRow cells);
    std::optional<AppError> appendTabText(QStringView text);

    // Removes count data rows from first on; false when not inside the data rows.
    bool removeDataRows(int first, int count);

    // How the texts of a column stand in their cells.
    void setColumnAlignment(int column, Qt::Alignment alignment);

    // Rewrites cell texts in place; the number of rows must stay.
    void rewriteTexts(const std::function<void(GridRows&)>& change);
    // The same for a change that says how to take itself back, as a sort.
    void reorderTexts(const std::function<RowsReorder(GridRows&)>& change);
    // Any change of the rows at all: the view starts afresh.
    void replaceRows(const std::function<void(GridRows&)>& change);
    // A change of the curve list, such as another current curve: the view
    // starts afresh with the current curve's rows, none of them copied.
    void changeCurves(const std::function<void(CurveDocument&)>& change);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The horizontal header shows the header row while it is fixed.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void textsChanged();
    std::optional<AppError> appendWith(const std::function<std::optional<AppError>()>& append);

    CurveDocument& curves_;
    std::array<Qt::Alignment, GridColumnCount> alignments_;
};

} // namespace tracella
