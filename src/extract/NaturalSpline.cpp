#include "extract/NaturalSpline.h"

#include "extract/SingleArithmetic.h"

#include <algorithm>

namespace tracella {
namespace {

AppError InvalidPointsError(const char* why)
{
    return {ErrorNumber::InvalidArgument, QString::fromLatin1(why)};
}

// Forward elimination and back substitution of the tridiagonal system of
// the second derivatives; every stored value goes through StoreSingle.
void Solve(SplineCoefficients& c)
{
    const std::vector<float>& t = c.knots;
    const std::vector<float>& v = c.values;
    const std::size_t n = t.size();
    const std::size_t intervals = n - 1;

    std::vector<float> h(intervals), b(intervals);
    for (std::size_t i = 0; i < intervals; ++i) {
        h[i] = StoreSingle(static_cast<double>(t[i + 1]) - t[i]);
        b[i] = StoreSingle(Quotient(6.0 * (static_cast<double>(v[i + 1]) - v[i]), h[i]));
    }

    std::vector<float> u(intervals), r(intervals);
    u[1] = StoreSingle(2.0 * (static_cast<double>(h[0]) + h[1]));
    r[1] = StoreSingle(static_cast<double>(b[1]) - b[0]);
    for (std::size_t i = 2; i < intervals; ++i) {
        const double previousH = h[i - 1];
        u[i] = StoreSingle(2.0 * (previousH + h[i]) - Quotient(previousH * previousH, u[i - 1]));
        r[i] = StoreSingle((static_cast<double>(b[i]) - b[i - 1]) - Quotient(previousH * r[i - 1], u[i - 1]));
    }

    std::vector<float>& z = c.secondDerivatives;
    z.assign(n, 0.0f);
    for (std::size_t i = intervals - 1; i >= 1; --i)
        z[i] = StoreSingle(Quotient(r[i] - static_cast<double>(h[i]) * z[i + 1], u[i]));

    c.linear.resize(intervals);
    c.quadratic.resize(intervals);
    c.cubic.resize(intervals);
    for (std::size_t i = 0; i < intervals; ++i) {
        c.cubic[i] = StoreSingle(Quotient(static_cast<double>(z[i + 1]) - z[i], 6.0 * h[i]));
        c.quadratic[i] = StoreSingle(z[i] / 2.0);
        c.linear[i] = StoreSingle(Quotient(static_cast<double>(v[i + 1]) - v[i], h[i]) -
                                  h[i] * (2.0 * z[i] + z[i + 1]) / 6.0);
    }
}

} // namespace

std::size_t SplineInterval(std::span<const float> knots, float x)
{
    // The first inner knot above x closes the interval; upper_bound finds it
    // without looking at every knot.
    const auto inner = knots.subspan(1, knots.size() - 2);
    return static_cast<std::size_t>(std::upper_bound(inner.begin(), inner.end(), x) - inner.begin());
}

std::variant<NaturalSpline, AppError> NaturalSpline::Fit(std::vector<float> knots, std::vector<float> values)
{
    if (knots.size() < MinimumPoints)
        return InvalidPointsError("Too few points for a spline");
    if (knots.size() != values.size())
        return InvalidPointsError("Every point needs two values");
    SplineCoefficients c{std::move(knots), std::move(values), {}, {}, {}, {}};
    // An infinite or undefined input fails here, as the first step using it
    // would.
    for (std::size_t i = 0; i < c.knots.size(); ++i) {
        if (auto error = SingleStoreError(c.knots[i]))
            return *error;
        if (auto error = SingleStoreError(c.values[i]))
            return *error;
    }
    for (std::size_t i = 1; i < c.knots.size(); ++i) {
        if (c.knots[i] < c.knots[i - 1])
            return InvalidPointsError("The independent values are not in ascending order");
    }
    try {
        Solve(c);
    } catch (const ArithmeticFault& fault) {
        return fault.error;
    }
    return NaturalSpline(std::move(c));
}

std::variant<float, AppError> NaturalSpline::ValueAt(float x) const
{
    const std::size_t i = SplineInterval(m_c.knots, x);
    const double d = static_cast<double>(x) - m_c.knots[i];
    if (auto error = SingleStoreError(d))
        return *error;
    const float stepped = static_cast<float>(d);
    const float inner = ToSingle(m_c.quadratic[i] + static_cast<double>(stepped) * m_c.cubic[i]);
    const float middle = ToSingle(m_c.linear[i] + static_cast<double>(stepped) * inner);
    const double value = m_c.values[i] + static_cast<double>(stepped) * middle;
    // With finite coefficients a partial result beyond the range carries on
    // to the value, so checking the value alone catches every overflow.
    if (auto error = SingleStoreError(value))
        return *error;
    return static_cast<float>(value);
}

} // namespace tracella
