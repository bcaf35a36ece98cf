#include "app/core/AppState.h"

namespace tracella {

void AppState::applySettingsDefaults()
{
    SplineColor = Rgb(255, 0, 255);
    ARDataColor = Rgb(250, 0, 0);
    ARPointColor = Rgb(100, 255, 0);
    ScaleColor = Rgb(0, 0, 255);
    PointsColor = Rgb(80, 255, 30);
    ARRows = 50;
    ARCols = 50;
    DotSize = 3;
    SplinePoints = 50;
    SplineOnX = true;
    XAxisLog = false;
    YAxisLog = false;
}

AppState& appState()
{
    static AppState state;
    return state;
}

} // namespace tracella
