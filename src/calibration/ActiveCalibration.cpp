#include "calibration/ActiveCalibration.h"

namespace tracella {

namespace {

AppError OverflowError() { return {ErrorNumber::Overflow, QStringLiteral("Overflow")}; }

} // namespace

AxisKind ActiveCalibration::kind(Axis axis, const AppState& state) const
{
    if (affine_)
        return axis == Axis::X ? affine_->x.kind : affine_->y.kind;
    return (axis == Axis::X ? state.XAxisLog : state.YAxisLog) ? AxisKind::Log : AxisKind::Linear;
}

std::variant<DataPoint, AppError> ActiveCalibration::valuesAt(PrecisionValue x, PrecisionValue y,
                                                             const AppState& state) const
{
    if (!affine_)
        return PositionToData(x, y, state.XAxisLog, state.YAxisLog);
    // Each coordinate mixes both positions: single when either was.
    const bool single = x.single || y.single;
    const QPointF c = affine_->toAxes.map(x.value, y.value);
    const AxisKind kx = affine_->x.kind, ky = affine_->y.kind;
    // No power to take: the coordinates are the values (AutoRead reads
    // them by the million).
    if (kx != AxisKind::Log && ky != AxisKind::Log)
        return DataPoint{{c.x(), single && kx == AxisKind::Linear}, {c.y(), single && ky == AxisKind::Linear}};
    const auto dataX = AxisValue(affine_->x.kind, {c.x(), single});
    const auto dataY = AxisValue(affine_->y.kind, {c.y(), single});
    if (!dataX || !dataY)
        return OverflowError();
    return DataPoint{*dataX, *dataY};
}

std::optional<QPointF> ActiveCalibration::positionOf(double x, double y, const AppState& state) const
{
    if (!affine_)
        return DataToFrame(x, y, state.XAxisLog, state.YAxisLog);
    const auto u = AxisCoordinateOf(affine_->x.kind, x);
    const auto v = AxisCoordinateOf(affine_->y.kind, y);
    if (!u || !v)
        return std::nullopt;
    return affine_->toPixels.map(*u, *v);
}

std::optional<QPointF> ActiveCalibration::positionOfCells(const QString& x, const QString& y,
                                                          const AppState& state) const
{
    const auto valueX = cellValue(Axis::X, x, state);
    const auto valueY = cellValue(Axis::Y, y, state);
    if (!valueX || !valueY)
        return std::nullopt;
    return positionOf(*valueX, *valueY, state);
}

QString ActiveCalibration::valueText(Axis axis, PrecisionValue value) const
{
    if (!affine_)
        return NumberText(value);
    return AxisValueText(axis == Axis::X ? affine_->x : affine_->y, value);
}

std::optional<double> ActiveCalibration::cellValue(Axis axis, const QString& text, const AppState& state) const
{
    return AxisCellValue(kind(axis, state), text);
}

ActiveCalibration& activeCalibration()
{
    static ActiveCalibration calibration;
    return calibration;
}

Frame PixelFrame(QSize pictureSize)
{
    return {0, 0, static_cast<double>(pictureSize.width()), static_cast<double>(pictureSize.height())};
}

} // namespace tracella
