#include "calibration/AxesRecord.h"

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

std::array<double, 6> Coefficients(const AffineMap& m)
{
    return {m.a, m.b, m.c, m.d, m.e, m.f};
}

AffineMap MapOf(const std::array<double, 6>& k)
{
    return {k[0], k[1], k[2], k[3], k[4], k[5]};
}

template <std::size_t N>
bool Finite(const std::array<double, N>& numbers)
{
    return std::all_of(numbers.begin(), numbers.end(), [](double v) { return std::isfinite(v); });
}

std::optional<AxisScale> ScaleOf(int kind, int precision)
{
    if (kind < 0 || kind > static_cast<int>(AxisKind::Date) || precision < 0 ||
        precision > static_cast<int>(DatePrecision::Seconds))
        return std::nullopt;
    return AxisScale{static_cast<AxisKind>(kind), static_cast<DatePrecision>(precision)};
}

} // namespace

ProjectAxes RecordOfAxes(const AffineCalibration& c)
{
    ProjectAxes record;
    record.toAxes = Coefficients(c.toAxes);
    record.toPixels = Coefficients(c.toPixels);
    record.kinds = {static_cast<int>(c.x.kind), static_cast<int>(c.y.kind)};
    record.precisions = {static_cast<int>(c.x.precision), static_cast<int>(c.y.precision)};
    record.extent = {c.xAxisAt, c.yAxisAt, c.xFrom, c.xTo, c.yFrom, c.yTo};
    return record;
}

std::optional<AffineCalibration> AxesOfRecord(const ProjectAxes& r)
{
    const auto x = ScaleOf(r.kinds[0], r.precisions[0]);
    const auto y = ScaleOf(r.kinds[1], r.precisions[1]);
    if (!x || !y || !Finite(r.toAxes) || !Finite(r.toPixels) || !Finite(r.extent))
        return std::nullopt;
    AffineCalibration c;
    c.toAxes = MapOf(r.toAxes);
    c.toPixels = MapOf(r.toPixels);
    c.x = *x;
    c.y = *y;
    c.xAxisAt = r.extent[0];
    c.yAxisAt = r.extent[1];
    c.xFrom = r.extent[2];
    c.xTo = r.extent[3];
    c.yFrom = r.extent[4];
    c.yTo = r.extent[5];
    return c;
}

} // namespace tracella
