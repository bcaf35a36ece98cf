#include "calibration/AffineCalibration.h"

#include <QLineF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tracella {
namespace {

// Below this sine the two axes count as parallel, whatever their length.
constexpr double ParallelSine = 1e-3;
// A reference further off than this share of the references' spread means
// the typed values do not describe one picture.
constexpr double MeaninglessShare = 0.25;

double Cross(QPointF p, QPointF q) { return p.x() * q.y() - p.y() * q.x(); }

double Length(QPointF p) { return std::hypot(p.x(), p.y()); }

bool Finite(const AffineMap& m)
{
    for (const double v : {m.a, m.b, m.c, m.d, m.e, m.f})
        if (!std::isfinite(v))
            return false;
    return true;
}

std::variant<AxisKind, QString> KindOf(AxisChoice choice, const QString& axis)
{
    if (choice.log && choice.date)
        return QStringLiteral("The %1 axis cannot be a date axis and a log axis at once: choose one.").arg(axis);
    return choice.date ? AxisKind::Date : (choice.log ? AxisKind::Log : AxisKind::Linear);
}

// One typed value read on its axis, the axis's precision widened to it.
std::variant<double, QString> Read(AxisScale& axis, const QString& typed, const QString& point)
{
    const auto read = ReadAxisCoordinate(axis.kind, typed);
    if (const auto* why = std::get_if<QString>(&read))
        return QStringLiteral("%1: %2.").arg(point, *why);
    const AxisCoordinate c = std::get<AxisCoordinate>(read);
    axis.precision = std::max(axis.precision, c.precision);
    return c.value;
}

std::variant<QPointF, QString> Placed(const std::optional<QPointF>& pixel, const QString& point)
{
    if (!pixel)
        return QStringLiteral("%1 has not been placed on the picture.").arg(point);
    return *pixel;
}

AffineOutcome Finish(AffineCalibration c)
{
    const auto back = c.toAxes.inverted();
    if (!Finite(c.toAxes) || !back)
        return QStringLiteral("The typed values are too far apart or too close together to calibrate the picture.");
    c.toPixels = *back;
    return c;
}

// Least squares of one coordinate over the pixels, centred for accuracy:
// returns (a, b, c) of u = a·px + b·py + c. det is that of the centred
// normal equations, shared by both coordinates.
std::array<double, 3> Fit(const std::vector<QPointF>& pixels, const std::vector<double>& u, QPointF centre,
                          double sxx, double sxy, double syy, double det)
{
    double sxu = 0, syu = 0;
    const double meanU = std::accumulate(u.begin(), u.end(), 0.0) / static_cast<double>(u.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const QPointF p = pixels[i] - centre;
        sxu += p.x() * (u[i] - meanU);
        syu += p.y() * (u[i] - meanU);
    }
    const double a = (sxu * syy - syu * sxy) / det;
    const double b = (syu * sxx - sxu * sxy) / det;
    return {a, b, meanU - a * centre.x() - b * centre.y()};
}

double Spread(const std::vector<double>& values)
{
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return *hi - *lo;
}

QString PointName(std::size_t index) { return QStringLiteral("Point %1").arg(index + 1); }

QString ResidualWarning(std::vector<Residual> residuals)
{
    std::erase_if(residuals, [](const Residual& r) { return r.pixels <= ResidualWarningPixels; });
    if (residuals.empty())
        return {};
    std::sort(residuals.begin(), residuals.end(), [](const Residual& l, const Residual& r) {
        return l.pixels > r.pixels;
    });
    QStringList parts;
    for (const Residual& r : residuals)
        parts << QStringLiteral("%1 is %2 pixels").arg(r.point).arg(r.pixels, 0, 'f', 1);
    return parts.join(QStringLiteral(", ")) +
           QStringLiteral(" from where its typed values fall: check the values typed for it.");
}

} // namespace

std::optional<AffineMap> AffineMap::inverted() const
{
    const double det = a * e - b * d;
    if (det == 0 || !std::isfinite(det))
        return std::nullopt;
    AffineMap m;
    m.a = e / det;
    m.b = -b / det;
    m.d = -d / det;
    m.e = a / det;
    m.c = -(m.a * c + m.b * f);
    m.f = -(m.d * c + m.e * f);
    if (!Finite(m))
        return std::nullopt;
    return m;
}

namespace {

// Each axis's kind as chosen, or why the choice cannot be.
std::optional<QString> SetAxisKinds(AffineCalibration& c, AxisChoice xChoice, AxisChoice yChoice)
{
    const auto xKind = KindOf(xChoice, QStringLiteral("X"));
    const auto yKind = KindOf(yChoice, QStringLiteral("Y"));
    if (const auto* why = std::get_if<QString>(&xKind))
        return *why;
    if (const auto* why = std::get_if<QString>(&yKind))
        return *why;
    c.x.kind = std::get<AxisKind>(xKind);
    c.y.kind = std::get<AxisKind>(yKind);
    return std::nullopt;
}

} // namespace

AffineOutcome CalibrateByAxes(const std::array<AxisReference, 2>& xPoints, const std::array<AxisReference, 2>& yPoints,
                              AxisChoice xChoice, AxisChoice yChoice)
{
    AffineCalibration c;
    if (auto why = SetAxisKinds(c, xChoice, yChoice))
        return *why;

    std::array<QPointF, 4> pixel;
    std::array<double, 4> value{};
    for (int i = 0; i < 4; ++i) {
        const bool onX = i < 2;
        const AxisReference& ref = onX ? xPoints[i] : yPoints[i - 2];
        const QString name = QStringLiteral("%1 point %2").arg(QChar(onX ? u'X' : u'Y')).arg(i % 2 + 1);
        const auto placed = Placed(ref.pixel, name);
        if (const auto* why = std::get_if<QString>(&placed))
            return *why;
        pixel[i] = std::get<QPointF>(placed);
        const auto read = Read(onX ? c.x : c.y, ref.typed, name);
        if (const auto* why = std::get_if<QString>(&read))
            return *why;
        value[i] = std::get<double>(read);
    }
    for (int axis = 0; axis < 2; ++axis) {
        const QChar name = axis == 0 ? u'X' : u'Y';
        if (pixel[2 * axis] == pixel[2 * axis + 1])
            return QStringLiteral("%1 points 1 and 2 are at the same pixel: place them apart on the %1 axis.")
                .arg(name);
        if (value[2 * axis] == value[2 * axis + 1])
            return QStringLiteral("%1 points 1 and 2 have the same %1 value: type two different values.").arg(name);
    }
    const QPointF alongX = pixel[1] - pixel[0];
    const QPointF alongY = pixel[3] - pixel[2];
    const double det = Cross(alongX, alongY);
    if (std::abs(det) < ParallelSine * Length(alongX) * Length(alongY))
        return QStringLiteral("The X axis (through X points 1 and 2) and the Y axis (through Y points 1 and 2) are "
                              "parallel: place the points on two crossing axes.");

    // A pixel p is X point 1 + s·alongX + t·alongY: X grows with s alone
    // (from X point 1 to X point 2) and Y with t alone, measured from Y point 1.
    const double sx = alongY.y() / det, sy = -alongY.x() / det;
    const double tx = -alongX.y() / det, ty = alongX.x() / det;
    const double xSpan = value[1] - value[0], ySpan = value[3] - value[2];
    c.toAxes.a = xSpan * sx;
    c.toAxes.b = xSpan * sy;
    c.toAxes.c = value[0] - c.toAxes.a * pixel[0].x() - c.toAxes.b * pixel[0].y();
    c.toAxes.d = ySpan * tx;
    c.toAxes.e = ySpan * ty;
    c.toAxes.f = value[2] - c.toAxes.d * pixel[2].x() - c.toAxes.e * pixel[2].y();
    c.xAxisAt = c.toAxes.map(pixel[0]).y();
    c.yAxisAt = c.toAxes.map(pixel[2]).x();
    std::tie(c.xFrom, c.xTo) = std::minmax(value[0], value[1]);
    std::tie(c.yFrom, c.yTo) = std::minmax(value[2], value[3]);
    return Finish(c);
}

AffineOutcome CalibrateByKnownPoints(const std::vector<KnownReference>& points, AxisChoice xChoice,
                                     AxisChoice yChoice)
{
    AffineCalibration c;
    if (auto why = SetAxisKinds(c, xChoice, yChoice))
        return *why;
    if (points.size() < 3)
        return QStringLiteral("Place at least three points whose X and Y are both known.");

    std::vector<QPointF> pixels;
    std::vector<double> u, v;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QString name = PointName(i);
        const auto placed = Placed(points[i].pixel, name);
        if (const auto* why = std::get_if<QString>(&placed))
            return *why;
        const auto x = Read(c.x, points[i].typedX, name);
        if (const auto* why = std::get_if<QString>(&x))
            return *why;
        const auto y = Read(c.y, points[i].typedY, name);
        if (const auto* why = std::get_if<QString>(&y))
            return *why;
        for (std::size_t j = 0; j < i; ++j)
            if (pixels[j] == std::get<QPointF>(placed))
                return QStringLiteral("%1 and %2 are at the same pixel: place them apart.")
                    .arg(PointName(j), name);
        pixels.push_back(std::get<QPointF>(placed));
        u.push_back(std::get<double>(x));
        v.push_back(std::get<double>(y));
    }

    QPointF centre;
    for (const QPointF& p : pixels)
        centre += p / static_cast<double>(pixels.size());
    double sxx = 0, sxy = 0, syy = 0;
    for (const QPointF& p : pixels) {
        const QPointF q = p - centre;
        sxx += q.x() * q.x();
        sxy += q.x() * q.y();
        syy += q.y() * q.y();
    }
    const double det = sxx * syy - sxy * sxy;
    // A thin spread relative to its length: the points lie on one line.
    if (!(det > ParallelSine * ParallelSine * (sxx + syy) * (sxx + syy)))
        return points.size() == 3
                   ? QStringLiteral("Points 1, 2 and 3 lie on one line: place them so that they span the plot.")
                   : QStringLiteral("All the points lie on one line: place them so that they span the plot.");
    if (Spread(u) == 0 || Spread(v) == 0)
        return QStringLiteral("All the points have the same %1 value: type the values each point has.")
            .arg(QChar(Spread(u) == 0 ? u'X' : u'Y'));

    const auto fu = Fit(pixels, u, centre, sxx, sxy, syy, det);
    const auto fv = Fit(pixels, v, centre, sxx, sxy, syy, det);
    c.toAxes = {fu[0], fu[1], fu[2], fv[0], fv[1], fv[2]};
    // Values on one line turn the plane into a line: no way back to pixels.
    const double scaledDet = (c.toAxes.a * c.toAxes.e - c.toAxes.b * c.toAxes.d) * (sxx + syy) /
                             (Spread(u) * Spread(v) * static_cast<double>(pixels.size()));
    if (!(std::abs(scaledDet) > 1e-6))
        return QStringLiteral("The typed values of the points lie on one line, though the points do not: check "
                              "the values.");
    c.xFrom = *std::min_element(u.begin(), u.end());
    c.xTo = *std::max_element(u.begin(), u.end());
    c.yFrom = *std::min_element(v.begin(), v.end());
    c.yTo = *std::max_element(v.begin(), v.end());
    c.xAxisAt = c.yFrom;
    c.yAxisAt = c.xFrom;
    auto finished = Finish(c);
    auto* done = std::get_if<AffineCalibration>(&finished);
    if (!done)
        return finished;

    double reach = 0;
    for (const QPointF& p : pixels)
        for (const QPointF& q : pixels)
            reach = std::max(reach, QLineF(p, q).length());
    const Residual* worst = nullptr;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const QPointF fitted = done->toPixels.map(u[i], v[i]);
        done->residuals.push_back({PointName(i), QLineF(fitted, pixels[i]).length()});
    }
    for (const Residual& r : done->residuals)
        if (!worst || r.pixels > worst->pixels)
            worst = &r;
    if (worst->pixels > MeaninglessShare * reach)
        return QStringLiteral("%1 is %2 pixels from where its typed values fall: the points do not fit one "
                              "picture. Check the values typed.")
            .arg(worst->point)
            .arg(worst->pixels, 0, 'f', 1);
    done->warning = ResidualWarning(done->residuals);
    return finished;
}

} // namespace tracella
