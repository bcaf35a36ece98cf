#include "calibration/CoordinateTransform.h"

#include "calibration/AxisScale.h"
#include "calibration/Calibration.h"

#include <cmath>

namespace tracella {

namespace {

std::optional<PrecisionValue> AxisToData(PrecisionValue position, bool axisLog)
{
    return AxisValue(axisLog ? AxisKind::Log : AxisKind::Linear, position);
}

AppError OverflowError() { return {ErrorNumber::Overflow, QStringLiteral("Overflow")}; }

} // namespace

std::variant<DataPoint, AppError> PositionToData(PrecisionValue x, PrecisionValue y, bool xAxisLog, bool yAxisLog)
{
    const auto dataX = AxisToData(x, xAxisLog);
    if (!dataX)
        return OverflowError();
    const auto dataY = AxisToData(y, yAxisLog);
    if (!dataY)
        return OverflowError();
    return DataPoint{*dataX, *dataY};
}

PointStatusTexts PointStatus(const DataPoint& point, bool save)
{
    return PointStatus(NumberText(point.x), NumberText(point.y), save);
}

PointStatusTexts PointStatus(const QString& xText, const QString& yText, bool save)
{
    const QString prefix = save ? QStringLiteral("Saving: ") : QString();
    return {prefix + QStringLiteral("X= ") + xText, prefix + QStringLiteral("Y= ") + yText};
}

std::optional<double> DataToFrameAxis(double value, bool axisLog)
{
    if (!axisLog)
        return value;
    if (!(value > 0))
        return std::nullopt;
    return Log10Value(value);
}

std::optional<QPointF> DataToFrame(double x, double y, bool xAxisLog, bool yAxisLog)
{
    const auto frameX = DataToFrameAxis(x, xAxisLog);
    const auto frameY = DataToFrameAxis(y, yAxisLog);
    if (!frameX || !frameY)
        return std::nullopt;
    return QPointF(*frameX, *frameY);
}

} // namespace tracella
