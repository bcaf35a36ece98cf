#include "calibration/widgets/RecordPoint.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/ActiveCalibration.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"

#include <variant>

namespace tracella {

bool RecordPoint(PrecisionValue x, PrecisionValue y, bool save)
{
    const AppState& s = appState();
    const ActiveCalibration& calibration = activeCalibration();
    const auto result = calibration.valuesAt(x, y, s);
    if (const auto* error = std::get_if<AppError>(&result)) {
        ShowUnexpectedError(*error);
        return false;
    }
    const DataPoint point = std::get<DataPoint>(result);
    // Formatted once for the status bar and the grid: AutoRead records
    // points by the ten thousand.
    const QString xText = calibration.valueText(Axis::X, point.x);
    const QString yText = calibration.valueText(Axis::Y, point.y);
    const PointStatusTexts texts = PointStatus(xText, yText, save);
    if (MainWindow* main = app().main) {
        main->statusPanels()->setPanelText(3, texts.x);
        main->statusPanels()->setPanelText(4, texts.y);
    }
    if (!save)
        return true;
    if (const auto refused = DataForm().AppendFormattedPointRow(xText, yText)) {
        ShowUnexpectedError(*refused);
        return false;
    }
    return true;
}

} // namespace tracella
