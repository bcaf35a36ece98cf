#include "calibration/widgets/ScaleCommands.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "calibration/ActiveCalibration.h"
#include "calibration/Calibration.h"
#include "calibration/widgets/ScaleAxesPanel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>

#include <any>
#include <optional>
#include <utility>

namespace tracella {
namespace {

PictureSurface* surface()
{
    return app().document ? app().document->surface() : nullptr;
}

void setScaleCheck(bool checked)
{
    if (app().main)
        app().main->action(QStringLiteral("mnuPictureScale"))->setChecked(checked);
}

// The settings and calibration as scale mode found them: the Scale step
// that ends the mode takes them back when undone.
std::optional<std::any>& ScaleStart()
{
    static std::optional<std::any> start;
    return start;
}

void resetScale()
{
    ResetScale(appState());
    activeCalibration().useFrame();
    RedrawCalibratedAxes();
    if (PictureSurface* s = surface())
        s->setFrame(BaseFrame);
}

void scaleCommand()
{
    AppState& s = appState();
    if (app().main && app().main->action(QStringLiteral("mnuPictureScale"))->isChecked()) {
        LeaveScaleMode();
        return;
    }
    ScaleStart() = app().calibrationState.capture();
    resetScale();
    s.ScaleModeOn = true;
    setScaleCheck(true);
    ShowMessage(QStringLiteral("Two points with known coordinates must be defined in the image in order to read "
                               "precise values.\r\n\r\nIt is recommended to define these points at opposite "
                               "corners of the image."),
                QStringLiteral("Scale Info"), MessageIcon::Information);
}

} // namespace

void ApplyCalibrationToPicture()
{
    PictureSurface* s = surface();
    if (s) {
        s->setFrame(BaseFrame);
        s->clearDrawings();
    }
    activeCalibration().useFrame();
    RedrawCalibratedAxes();
    const CalibrationOutcome outcome = ApplyCalibration(appState());
    if (outcome.refusal)
        ShowMessage(*outcome.refusal);
    if (s)
        s->setFrame(outcome.surfaceFrame);
}

void ApplyAffineToPicture(AffineCalibration calibration)
{
    const UndoStep step(QStringLiteral("Scale by Axes"));
    AppState& state = appState();
    if (state.ScaleModeOn) {
        state.ScaleModeOn = false;
        setScaleCheck(false);
    }
    // The options show the axes as this calibration reads them.
    state.XAxisLog = calibration.x.kind == AxisKind::Log;
    state.YAxisLog = calibration.y.kind == AxisKind::Log;
    activeCalibration().useAffine(std::move(calibration));
    PictureSurface* s = surface();
    state.setFrame(PixelFrame(s ? s->pictureSize() : QSize(10, 10)));
    if (s) {
        s->clearDrawings();
        s->setFrame(state.frame());
    }
}

void LeaveScaleMode()
{
    std::optional<std::any> start = std::exchange(ScaleStart(), std::nullopt);
    const QString name = QStringLiteral("Scale");
    const UndoStep step = start ? UndoStep(name, std::move(*start)) : UndoStep(name);
    appState().ScaleModeOn = false;
    setScaleCheck(false);
    ApplyCalibrationToPicture();
}

void RegisterScaleCommands()
{
    app().commands.add(QStringLiteral("mnuPictureResetScale"), resetScale);
    app().commands.add(QStringLiteral("mnuPictureScale"), scaleCommand);
    app().commands.add(QStringLiteral("mnuPictureScaleAxes"), ShowScaleAxesPanel);
    app().commands.add(QStringLiteral("mnuPictureFindAxes"), FindAxesCommand);
    app().commands.add(QStringLiteral("mnuViewAxes"), ToggleCalibratedAxes);
}

} // namespace tracella
