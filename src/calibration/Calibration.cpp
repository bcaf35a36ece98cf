#include "calibration/Calibration.h"

#include "calibration/FrameMapping.h"

#include <cmath>
#include <limits>
#include <utility>

namespace tracella {

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString DefaultValuesUsed = QStringLiteral("Default values will be used");

Message ScaleModeWarning(const QString& text)
{
    return {text, QStringLiteral("Scale Mode"), MessageIcon::Exclamation, MessageButtons::Ok};
}

Message NotScaledMessage()
{
    return ScaleModeWarning(QStringLiteral("You have not scaled properly the picture.") + LineBreak +
                            DefaultValuesUsed);
}

Message SimilarValuesMessage()
{
    return ScaleModeWarning(QStringLiteral("Selected points have at least one similar value.") + LineBreak +
                            QStringLiteral("You should select two different points to scale the picture properly.") +
                            LineBreak + DefaultValuesUsed);
}

Message LogAxisMessage()
{
    return {QStringLiteral("Zero or Negative values cannot be used in a Log Axis."), QStringLiteral("Scaling Error"),
            MessageIcon::Information, MessageButtons::Ok};
}

Message SameLineMessage()
{
    return ScaleModeWarning(
        QStringLiteral("Selected points lie on the same vertical or horizontal line.") + LineBreak +
        QStringLiteral("You should select two points apart in both directions to scale the picture properly.") +
        LineBreak + DefaultValuesUsed);
}

Message OutOfRangeMessage()
{
    return ScaleModeWarning(
        QStringLiteral("The scale of the selected values is out of range.") + LineBreak +
        QStringLiteral("You should type smaller values or values further apart to scale the picture properly.") +
        LineBreak + DefaultValuesUsed);
}

bool NotPositive(double v) { return !(v > 0); } // NaN counts as not positive

// The surface holds its frame in single precision: every edge must be a
// finite float and the two edges of an axis must stay apart there.
bool SurfaceCanHold(const Frame& frame)
{
    constexpr double largest = std::numeric_limits<float>::max();
    for (const double edge : {frame.left, frame.top, frame.right, frame.bottom})
        if (!(std::abs(edge) <= largest))
            return false;
    const Frame held = SurfaceFrame(frame);
    return held.left != held.right && held.top != held.bottom;
}

CalibrationOutcome Refused(Message message) { return {std::move(message), BaseFrame}; }

} // namespace

double Log10Value(double v) { return std::log(v) / std::log(10.0); }

void ResetScale(AppState& state)
{
    state.setFrame(BaseFrame);
    state.RefX1 = NotScaled;
    state.RefX2 = NotScaled;
}

CalibrationOutcome ApplyCalibration(AppState& state)
{
    if (state.RefX1 == NotScaled || state.RefX2 == NotScaled)
        return Refused(NotScaledMessage());
    if (state.RefX1 == state.RefX2 || state.RefY1 == state.RefY2)
        return Refused(SimilarValuesMessage());
    if ((state.XAxisLog && (NotPositive(state.RefX1) || NotPositive(state.RefX2))) ||
        (state.YAxisLog && (NotPositive(state.RefY1) || NotPositive(state.RefY2))))
        return Refused(LogAxisMessage());
    // The values differ on both axes here, so equal positions leave no line.
    if (state.RefPx1 == state.RefPx2 || state.RefPy1 == state.RefPy2)
        return Refused(SameLineMessage());

    const double x1 = state.XAxisLog ? Log10Value(state.RefX1) : state.RefX1;
    const double x2 = state.XAxisLog ? Log10Value(state.RefX2) : state.RefX2;
    const double y1 = state.YAxisLog ? Log10Value(state.RefY1) : state.RefY1;
    const double y2 = state.YAxisLog ? Log10Value(state.RefY2) : state.RefY2;
    const double bx1 = state.RefPx1, bx2 = state.RefPx2;
    const double by1 = state.RefPy1, by2 = state.RefPy2;

    // The straight line through both points, read at base positions 0 and 10.
    Frame frame;
    frame.left = x1 - (x1 - x2) * bx1 / (bx1 - bx2);
    frame.bottom = y1 - (y1 - y2) * by1 / (by1 - by2);
    frame.right = x1 - (x1 - x2) * (bx1 - 10) / (bx1 - bx2);
    frame.top = y1 - (y1 - y2) * (by1 - 10) / (by1 - by2);
    if (!SurfaceCanHold(frame))
        return Refused(OutOfRangeMessage());

    state.RefX1 = x1;
    state.RefX2 = x2;
    state.RefY1 = y1;
    state.RefY2 = y2;
    state.setFrame(frame);
    return {std::nullopt, frame};
}

} // namespace tracella
