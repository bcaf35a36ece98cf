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

// Every point marker drawn afresh from the grid; a value a log axis cannot
// show leaves its row without a marker.
void RefreshCommand()
{
    DataWindow& data = DataForm();
    data.Form_Resize();
    if (!app().document)
        return;
    PictureSurface* surface = app().document->surface();
    surface->clearDrawings();
    const AppState& s = appState();
    const GridRows& rows = data.grid().rows();
    for (int r = 1; r < rows.rowCount(); ++r) {
        const auto position = activeCalibration().positionOfCells(rows.cell(r, 1), rows.cell(r, 2), s);
        if (position)
            surface->drawDot(position->x(), position->y(), s.PointsColor);
    }
}

} // namespace

void RegisterRefreshCommand()
{
    app().commands.add(QStringLiteral("mnuViewRefresh"), RefreshCommand);
}

} // namespace tracella
