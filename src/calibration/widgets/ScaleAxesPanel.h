#pragma once

#include "calibration/AffineCalibration.h"
#include "calibration/AxisProposal.h"
#include "picture/widgets/RegionDrag.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tracella {

class CalibrationLayer;
class PictureSurface;

// frmScaleAxes: the small window beside the picture for Scale by Axes. While
// "Place" is down, a click on the picture places the selected reference and
// a reference's marker can be dragged; otherwise clicks record points as ever.
class ScaleAxesPanel : public QWidget {
    Q_OBJECT
public:
    explicit ScaleAxesPanel(QWidget* parent = nullptr);

    // What the references give now: a calibration or why not.
    AffineOutcome outcome() const;
    // Places the selected reference at a picture position, as a click does,
    // and selects the next one still to place.
    void placeSelected(QPointF pixel);
    void cmdApply_Click();
    // Looks for the axes and their labels on the picture, off the window's
    // thread, and fills the references with what it proposes; again while
    // it looks, gives up.
    void cmdFindAxes_Click();
    // The same search in a region of the picture dragged first.
    void cmdFindAxesRegion_Click(bool armed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void setRows();
    bool knownMode() const;
    QString rowName(int row) const;
    QString typed(int row, int column) const;
    void refresh();
    PictureSurface* surface();
    bool surfaceMouse(PictureSurface& surface, QEvent* event);
    bool regionMouse(PictureSurface& surface, const QMouseEvent& mouse);
    void startSearch(QRect region);
    void propose(const AxisProposal& proposal);
    void showProgress(const QString& stage, int done, int total);
    // The references were changed by hand on the picture shown now.
    void touched();
    void endProgress();

    QRadioButton* optAxisPoints_ = nullptr;
    QRadioButton* optKnownPoints_ = nullptr;
    QCheckBox* chkXLog_ = nullptr;
    QCheckBox* chkXDate_ = nullptr;
    QCheckBox* chkYLog_ = nullptr;
    QCheckBox* chkYDate_ = nullptr;
    QTableWidget* gridReferences_ = nullptr;
    QPushButton* cmdPlace_ = nullptr;
    QPushButton* cmdAddPoint_ = nullptr;
    QPushButton* cmdRemovePoint_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdFindAxes_ = nullptr;
    QPushButton* cmdFindAxesRegion_ = nullptr;
    class AxisSearch* search_ = nullptr;
    QLabel* lblFit_ = nullptr;

    std::vector<std::optional<QPointF>> pixels_;
    int dragged_ = -1;
    RegionDrag regionDrag_;
    QPointer<PictureSurface> surface_;
    QImage searched_;
    qint64 referencesOn_ = 0; // the picture the references were given on
};

// The Picture menu's Scale by Axes command: shows the panel, without waiting.
void ShowScaleAxesPanel();
// The Picture menu's Find Axes command: the panel, and the search started.
void FindAxesCommand();
// The View menu's Calibrated Axes item: the axes of a calibration by axes
// drawn over the picture, or not.
void ShowCalibratedAxes(bool shown);
void ToggleCalibratedAxes();
// After the calibration changed: the axes drawn as the View item says.
void RedrawCalibratedAxes();

} // namespace tracella
