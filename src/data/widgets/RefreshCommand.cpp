#include "data/widgets/DataCommands.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "calibration/ActiveCalibration.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

namespace tracella {
namespace {

void DrawCurve(PictureSurface& surface, const GridRows& rows, Colour colour)
{
    const AppState& s = appState();
    for (int r = 1; r < rows.rowCount(); ++r) {
        const auto position = activeCalibration().positionOfCells(rows.cell(r, 1), rows.cell(r, 2), s);
        if (position)
            surface.drawDot(position->x(), position->y(), colour);
    }
}

// Every point marker drawn afresh from the curves, the current curve's last
// so that they lie on top; a value a log axis cannot show leaves its row
// without a marker.
void RefreshCommand()
{
    DataWindow& data = DataForm();
    data.Form_Resize();
    if (!app().document)
        return;
    app().document->showCurves(); // the points colour may have changed
    PictureSurface* surface = app().document->surface();
    surface->clearDrawings();
    const CurveDocument& curves = app().curves;
    const Colour pointsColor = appState().PointsColor;
    for (int i = 0; i < curves.count(); ++i) {
        if (i == curves.currentIndex())
            continue;
        surface->setMarkerGroup(curves.curve(i).id);
        DrawCurve(*surface, curves.curve(i).rows, curves.colourOf(i, pointsColor));
    }
    surface->setMarkerGroup(curves.current().id); // what is drawn next belongs to it
    DrawCurve(*surface, curves.rows(), CurrentCurveColour());
}

} // namespace

void RegisterRefreshCommand()
{
    app().commands.add(QStringLiteral("mnuViewRefresh"), RefreshCommand);
}

} // namespace tracella
