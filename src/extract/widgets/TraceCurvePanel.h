#pragma once

#include "app/core/AppState.h"
#include "extract/widgets/TraceCommand.h"
#include "picture/widgets/RegionDrag.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tracella {

class PictureSurface;
class TracePreviewLayer;

// frmTraceCurve: the small window beside the picture that sets up a curve
// trace. It takes the picture's mouse only while a colour is being picked or
// a region dragged; otherwise clicks on the picture record points as ever.
class TraceCurvePanel : public QWidget {
    Q_OBJECT
public:
    explicit TraceCurvePanel(QWidget* parent = nullptr);

    // What the controls ask for now.
    TraceRequest request() const;
    Colour colour() const { return colour_; }
    std::optional<QRect> region() const { return region_; }

    void cmdTrace_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void setColour(Colour colour);
    // A colour picked on the curve: following from there becomes the way.
    void pickedOnCurve(QPointF at);
    void cmdTraceColor_Click();
    void showRegion();
    void updatePreview();
    // The surface the panel works on, watched from the first use.
    PictureSurface* surface();
    bool surfaceMouse(PictureSurface& surface, QEvent* event);

    QFrame* frameTraceColor_ = nullptr;
    QPushButton* cmdTracePick_ = nullptr;
    QPushButton* cmdTraceColor_ = nullptr;
    QSpinBox* TxtTolerance_ = nullptr;
    QCheckBox* chkTracePreview_ = nullptr;
    QLineEdit* TxtTraceStep_ = nullptr;
    QRadioButton* optStepPixels_ = nullptr;
    QRadioButton* optStepUnits_ = nullptr;
    QLabel* lblTraceAxis_ = nullptr;
    QRadioButton* optTraceCurve_ = nullptr;
    QRadioButton* optTraceMarkers_ = nullptr;
    QRadioButton* optTraceFollow_ = nullptr;
    QPushButton* cmdTraceRegion_ = nullptr;
    QPushButton* cmdTraceWhole_ = nullptr;
    QLabel* lblTraceRegion_ = nullptr;

    Colour colour_ = 0;
    std::optional<QRect> region_;
    std::optional<QPointF> picked_; // where the colour was picked on the picture
    RegionDrag drag_;
    QPointer<PictureSurface> surface_;
    QPointer<TracePreviewLayer> preview_;
};

// The Data menu's Trace Curve command: shows the panel, without waiting.
void ShowTraceCurvePanel();

} // namespace tracella
