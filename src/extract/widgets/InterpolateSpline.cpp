#include "extract/widgets/InterpolateSpline.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/UnexpectedError.h"
#include "calibration/ActiveCalibration.h"
#include "data/GridRows.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "extract/ExtractMessages.h"
#include "extract/Interpolation.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <exception>
#include <new>
#include <optional>
#include <vector>

namespace tracella {
namespace {

PictureSurface* Surface()
{
    return app().document ? app().document->surface() : nullptr;
}

std::vector<SplineRow> RowsOf(const GridRows& rows)
{
    std::vector<SplineRow> read;
    read.reserve(static_cast<std::size_t>(rows.dataRowCount()));
    const ActiveCalibration& calibration = activeCalibration();
    const AppState& s = appState();
    // An unreadable date reads as 0, as a cell without a number does.
    for (int r = 1; r < rows.rowCount(); ++r)
        read.push_back({calibration.cellValue(Axis::X, rows.cell(r, 1), s).value_or(0),
                        calibration.cellValue(Axis::Y, rows.cell(r, 2), s).value_or(0)});
    return read;
}

// A value a logarithmic axis cannot show gets no marker; its point is still
// offered for the grid.
void DrawPreview(const std::vector<SplinePoint>& points)
{
    PictureSurface* surface = Surface();
    if (!surface)
        return;
    const AppState& s = appState();
    for (const SplinePoint& p : points) {
        if (const auto position = activeCalibration().positionOf(p.x, p.y, s))
            surface->drawDot(position->x(), position->y(), s.SplineColor);
    }
}

// A row the grid refuses (it is full) fails the run like any other error.
std::optional<AppError> AppendPoints(DataWindow& data, const std::vector<SplinePoint>& points)
{
    const ActiveCalibration& calibration = activeCalibration();
    for (const SplinePoint& p : points) {
        if (auto refused = data.AppendFormattedPointRow(calibration.valueText(Axis::X, {p.x, true}),
                                                        calibration.valueText(Axis::Y, {p.y, true})))
            return refused;
    }
    return std::nullopt;
}

class Run {
public:
    void interpolate();
    // The pointer goes back to the arrow before the failure is shown.
    void fail(const AppError& error)
    {
        busy_.reset();
        ShowMessage(InterpolationFailedMessage(error));
    }

private:
    std::optional<BusyPointer> busy_{std::in_place, Qt::BusyCursor};
};

void Run::interpolate()
{
    RunCommand(QStringLiteral("mnuDataRemoveRepeated"));
    DataWindow& data = DataForm();
    const AppState& s = appState();
    if (!EnoughRowsToInterpolate(data.grid().rowCount() - 1)) {
        ShowMessage(InsufficientDataMessage());
        return;
    }
    if (const auto error = SplinePointsError(s.SplinePoints)) {
        fail(*error);
        return;
    }
    data.setSortOnX(s.SplineOnX);
    data.sortRows();

    const Interpolation result = InterpolateRows(RowsOf(data.grid().rows()), s.SplineOnX, s.SplinePoints);
    // Points generated before a failure stay on the picture.
    DrawPreview(result.points);
    if (result.error) {
        fail(*result.error);
        return;
    }
    // The grid takes the points whole or not at all.
    const int held = data.grid().rowCount() - 1;
    if (static_cast<std::int64_t>(held) + std::ssize(result.points) > MaxGridRowCount - 1) {
        busy_.reset();
        ShowMessage(GridCannotHoldMessage(MaxGridRowCount - 1, held, static_cast<int>(result.points.size())));
        return;
    }
    if (ShowMessage(AddInterpolatedPointsMessage()) == MessageAnswer::Yes) {
        if (const auto refused = AppendPoints(data, result.points)) {
            fail(*refused);
            return;
        }
    } else if (PictureSurface* surface = Surface()) {
        surface->clearDrawings();
    }
    RunCommand(QStringLiteral("mnuViewRefresh"));
}

} // namespace

void InterpolateSpline()
{
    Run run;
    try {
        run.interpolate();
    } catch (const std::bad_alloc&) {
        run.fail({ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")});
    } catch (const std::exception& e) {
        run.fail({ErrorNumber::InvalidArgument, QString::fromLocal8Bit(e.what())});
    }
}

} // namespace tracella
