#include "calibration/AxisTicks.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cmath>

namespace tracella {
namespace {

// No axis gets more ticks than this, whatever it is asked.
constexpr int MaxTicks = 200;

double NiceStep(double span, int wanted)
{
    const double raw = span / std::max(wanted, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    // The nearest on a log scale: as many ticks as wanted, give or take.
    double best = power;
    for (const double m : {2.0, 5.0, 10.0})
        if (std::abs(std::log(m * power / raw)) < std::abs(std::log(best / raw)))
            best = m * power;
    return best;
}

std::vector<double> Multiples(double from, double to, double step)
{
    std::vector<double> out;
    for (double k = std::ceil(from / step); k * step <= to + step * 1e-9 && out.size() < MaxTicks; ++k)
        out.push_back(k * step);
    return out;
}

std::vector<double> LogTicks(double from, double to, int wanted)
{
    if (to - from >= 2) {
        const double decades = std::max(1.0, std::ceil((to - from) / wanted));
        return Multiples(from, to, decades);
    }
    std::vector<double> out;
    for (double decade = std::floor(from); decade <= to && out.size() < MaxTicks; ++decade)
        for (const double m : {1.0, 2.0, 5.0}) {
            const double c = decade + std::log10(m);
            if (c >= from && c <= to)
                out.push_back(c);
        }
    return out;
}

constexpr double Day = 86400;

std::vector<double> DateTicks(double from, double to, int wanted)
{
    const double raw = (to - from) / std::max(wanted, 1);
    static constexpr std::array<double, 16> Fixed{1,    5,    15,       30,       60,       300,      900, 1800,
                                                  3600, 10800, 21600, 43200, Day, 2 * Day, 7 * Day, 14 * Day};
    for (const double step : Fixed)
        if (step >= raw)
            return Multiples(from, to, step);
    // Calendar months: 1, 2, 3, 6, 12, 24, 60 ... of them, from a first of January.
    int months = 1;
    for (const int m : {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200})
        if ((months = m) * 30.4 * Day >= raw)
            break;
    const QDate epoch(1970, 1, 1);
    const QDate start = epoch.addDays(static_cast<qint64>(std::floor(from / Day)));
    QDate tick(start.year() - start.year() % std::max(1, months / 12), 1, 1);
    std::vector<double> out;
    for (; out.size() < MaxTicks; tick = tick.addMonths(months)) {
        const double at = static_cast<double>(epoch.daysTo(tick)) * Day;
        if (at > to)
            break;
        if (at >= from)
            out.push_back(at);
    }
    return out;
}

QString TickText(const AxisScale& scale, double coordinate, double step)
{
    switch (scale.kind) {
    case AxisKind::Date:
        return IsoDateText(coordinate, step < Day ? (step < 60 ? DatePrecision::Seconds : DatePrecision::Minutes)
                                                  : DatePrecision::Days);
    case AxisKind::Log:
        return QString::number(std::pow(10.0, coordinate), 'g', 6);
    case AxisKind::Linear:
        break;
    }
    // A tick at zero must not read as a rounding remainder.
    return QString::number(std::abs(coordinate) < step * 1e-9 ? 0.0 : coordinate, 'g', 10);
}

} // namespace

std::vector<double> RoundCoordinates(AxisKind kind, double from, double to, int wanted)
{
    if (!(to > from) || !std::isfinite(to - from))
        return {};
    if (kind == AxisKind::Log)
        return LogTicks(from, to, wanted);
    if (kind == AxisKind::Date)
        return DateTicks(from, to, wanted);
    return Multiples(from, to, NiceStep(to - from, wanted));
}

AxisDrawing DrawnAxis(const AffineCalibration& c, Axis axis, QSizeF picture)
{
    const bool onX = axis == Axis::X;
    const AffineMap& m = c.toPixels;
    // The axis line: p(t) = base + t·dir over its own coordinate t.
    const QPointF dir = onX ? QPointF(m.a, m.d) : QPointF(m.b, m.e);
    const QPointF base = onX ? m.map(0, c.xAxisAt) : m.map(c.yAxisAt, 0);
    double lo = onX ? c.xFrom : c.yFrom, hi = onX ? c.xTo : c.yTo;
    // Widen to where the line leaves the picture.
    double enter = -INFINITY, leave = INFINITY;
    for (const auto& [p, d, extent] : {std::tuple{base.x(), dir.x(), picture.width()},
                                       std::tuple{base.y(), dir.y(), picture.height()}}) {
        if (d == 0)
            continue;
        const double t0 = (0 - p) / d, t1 = (extent - 1 - p) / d;
        enter = std::max(enter, std::min(t0, t1));
        leave = std::min(leave, std::max(t0, t1));
    }
    if (enter < leave) {
        lo = std::min(lo, enter);
        hi = std::max(hi, leave);
    }
    AxisDrawing drawing{base + lo * dir, base + hi * dir, {}};
    const QPointF other = onX ? -QPointF(m.b, m.e) : -QPointF(m.a, m.d);
    const QPointF across = other / std::hypot(other.x(), other.y());
    const AxisScale& scale = onX ? c.x : c.y;
    const std::vector<double> at = RoundCoordinates(scale.kind, lo, hi, 8);
    const double step = at.size() > 1 ? at[1] - at[0] : hi - lo;
    for (const double t : at)
        drawing.ticks.push_back({base + t * dir, across, TickText(scale, t, step)});
    return drawing;
}

} // namespace tracella
