#pragma once

#include "app/core/AppError.h"
#include "app/core/NumberText.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <variant>

namespace tracella {

// A point in data units, each value at the precision of the position it
// was read from.
struct DataPoint {
    PrecisionValue x;
    PrecisionValue y;
};

// Frame position -> data values: ten to the power on a log axis, computed in
// double and stored at the position's precision. Fails with Overflow when
// the power does not fit that precision, above or below.
std::variant<DataPoint, AppError> PositionToData(PrecisionValue x, PrecisionValue y, bool xAxisLog,
                                                 bool yAxisLog);

// Status panels 3 and 4 for a point just read or saved.
struct PointStatusTexts {
    QString x;
    QString y;
};
PointStatusTexts PointStatus(const DataPoint& point, bool save);
// The same from the values' texts, when the caller has them already.
PointStatusTexts PointStatus(const QString& xText, const QString& yText, bool save);

// Data value -> frame position on one axis; nothing for a value that a
// log axis cannot show (zero or below), which callers skip.
std::optional<double> DataToFrameAxis(double value, bool axisLog);
std::optional<QPointF> DataToFrame(double x, double y, bool xAxisLog, bool yAxisLog);

} // namespace tracella
