#include "calibration/CalibrationState.h"

#include "calibration/AxesRecord.h"
#include "data/ProjectFile.h"

#include <optional>
#include <tuple>

namespace tracella {
namespace {

struct Kept {
    AppState state;
    std::optional<AffineCalibration> affine;
};

// The fields a step may change; the coordination fields are the windows'.
template <class State>
auto SettingsOf(State& s)
{
    return std::tie(s.SplineColor, s.ARDataColor, s.ARPointColor, s.ScaleColor, s.PointsColor, s.DotSize,
                    s.SplinePoints, s.SplineOnX, s.ARCols, s.ARRows, s.XAxisLog, s.YAxisLog, s.EscUndo,
                    s.PointerIndex, s.RefX1, s.RefX2, s.RefY1, s.RefY2, s.RefPx1, s.RefPx2, s.RefPy1, s.RefPy2,
                    s.FrameLeft, s.FrameRight, s.FrameTop, s.FrameBottom);
}

bool SameMap(const AffineMap& a, const AffineMap& b)
{
    return std::tie(a.a, a.b, a.c, a.d, a.e, a.f) == std::tie(b.a, b.b, b.c, b.d, b.e, b.f);
}

bool SameAffine(const std::optional<AffineCalibration>& a, const std::optional<AffineCalibration>& b)
{
    if (!a || !b)
        return !a && !b;
    return SameMap(a->toAxes, b->toAxes) && a->x.kind == b->x.kind && a->y.kind == b->y.kind &&
           a->x.precision == b->x.precision && a->y.precision == b->y.precision &&
           std::tie(a->xAxisAt, a->yAxisAt, a->xFrom, a->xTo, a->yFrom, a->yTo) ==
               std::tie(b->xAxisAt, b->yAxisAt, b->xFrom, b->xTo, b->yFrom, b->yTo);
}

} // namespace

std::any CalibrationState::capture() const
{
    Kept kept;
    SettingsOf(kept.state) = SettingsOf(state_);
    if (const AffineCalibration* affine = calibration_.affine())
        kept.affine = *affine;
    return kept;
}

bool CalibrationState::same(const std::any& a, const std::any& b) const
{
    const Kept& x = std::any_cast<const Kept&>(a);
    const Kept& y = std::any_cast<const Kept&>(b);
    return SettingsOf(x.state) == SettingsOf(y.state) && SameAffine(x.affine, y.affine);
}

void CalibrationState::restore(const std::any& state)
{
    const Kept& kept = std::any_cast<const Kept&>(state);
    SettingsOf(state_) = SettingsOf(kept.state);
    if (kept.affine)
        calibration_.useAffine(*kept.affine);
    else
        calibration_.useFrame();
    if (afterRestore)
        afterRestore();
}

QCborValue CalibrationState::encode(const std::any& state) const
{
    const Kept& kept = std::any_cast<const Kept&>(state);
    std::optional<ProjectAxes> axes;
    if (kept.affine)
        axes = RecordOfAxes(*kept.affine);
    return SettingsAsCbor(kept.state, axes);
}

std::optional<std::any> CalibrationState::decode(const QCborValue& value) const
{
    Kept kept;
    std::optional<ProjectAxes> axes;
    if (!value.isMap() || SettingsFromCbor(value.toMap(), kept.state, axes))
        return std::nullopt;
    if (axes && !(kept.affine = AxesOfRecord(*axes)))
        return std::nullopt;
    return kept;
}

void CalibrationState::adopt(const AppState& from, std::optional<AffineCalibration> affine)
{
    Kept kept;
    SettingsOf(kept.state) = SettingsOf(from);
    kept.affine = std::move(affine);
    restore(kept);
}

} // namespace tracella
