#pragma once

#include "app/core/AppError.h"
#include "app/core/NumberText.h"

#include <QWidget>

#include <optional>

class QTableView;
class QLineEdit;
class QRadioButton;

namespace tracella {

class GridModel;

// frmData: the grid of collected points (GridData), the edit frame and the
// sort frame. The grid is the only store of the points.
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

    // X sort key selected (OptSortX) or Y (OptSortY).
    bool sortOnX() const;
    void setSortOnX(bool onX);

    void Text1_Change();
    void cmdSetValues_Click();
    void cmdSort_Click();
};

} // namespace tracella
