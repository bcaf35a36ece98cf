#pragma once

#include "app/core/AppError.h"
#include "app/core/NumberText.h"
#include "data/CurveDocument.h"

#include <QWidget>

#include <functional>

#include <array>
#include <optional>
#include <unordered_map>

class QTableView;
class QLineEdit;
class QRadioButton;

namespace tracella {

class GridModel;

// frmData: the grid of collected points (GridData), the edit frame and the
// sort frame. The grid shows the current curve; the points stay in the curves.
class DataWindow : public QWidget {
    Q_OBJECT
public:
    explicit DataWindow(QWidget* parent = nullptr);

    GridModel& grid() const;
    QTableView* gridView() const;

    // Load step and resize step of the window.
    void Form_Load();
    void Form_Resize();

    // Appends one point row; refused (grid full) with the error, grid intact.
    std::optional<AppError> AppendPointRow(PrecisionValue x, PrecisionValue y);
    // The same with the values already in NumberText form.
    std::optional<AppError> AppendFormattedPointRow(const QString& xText, const QString& yText);

    // X sort key selected (OptSortX) or Y (OptSortY).
    bool sortOnX() const;
    void setSortOnX(bool onX);

    void Text1_Change();
    void cmdSetValues_Click();
    void cmdSort_Click();
    // The row pick: a click on a cell.
    void GridData_Click();

    // The header row is fixed: it stays in view and cannot be selected.
    bool headerFixed() const { return headerFixed_; }
    void setHeaderFixed(bool fixed);

    // The current cell (row -1 when there is none) and the selected block,
    // which is the current cell alone when nothing more is selected.
    int currentRow() const;
    CellBlock selectedBlock() const;
    // Makes the cell current, collapsing the selection to it; false (nothing
    // changes) for a cell outside the grid or a fixed header cell.
    bool setCurrentCell(int row, int column);
    // Selects whole rows first ... last as the grid's block.
    void selectRows(int first, int last);
    int topRow() const;
    // Scrolls so that the row is the top visible row, as far as the grid can.
    void setTopRow(int row);

    // Sorts the data rows by the key of the option buttons.
    void sortRows();

    // A change of the curve list; the current curve's rows are shown and
    // every curve's markers drawn afresh.
    void changeCurves(const std::function<void(CurveDocument&)>& change);
    // Shows another curve; what the edit boxes hold stays with the curve
    // it was typed for.
    void showCurve(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildEditFrame();
    void buildSortFrame();
    void applyHeaderFixing();
    void applyOuterSize();
    void markPoint();
    void showCaption();
    void switchCurves(const std::function<void(CurveDocument&)>& change);

    GridModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* txtXValue_ = nullptr;
    QLineEdit* txtYValue_ = nullptr;
    QRadioButton* optSortX_ = nullptr;
    QRadioButton* optSortY_ = nullptr;
    // The edit boxes' texts of the curves not shown, by curve id.
    std::unordered_map<int, std::array<QString, 3>> edits_;
    bool headerFixed_ = false;
    QSize outerSize_;
};

} // namespace tracella
