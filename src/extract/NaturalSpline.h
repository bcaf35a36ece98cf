#pragma once

#include "app/core/AppError.h"

#include <cstddef>
#include <span>
#include <variant>
#include <vector>

namespace tracella {

// The interval the interpolation evaluates an abscissa in, counted from 0:
// the interval before the first inner knot above x, the last interval when
// there is none (so at or beyond the last inner knot; NaN too). knots must
// be ascending (equal neighbours allowed) and at least two.
std::size_t SplineInterval(std::span<const float> knots, float x);

// The spline's data, every value in single precision. On interval i the
// spline is values[i] + d*(linear[i] + d*(quadratic[i] + d*cubic[i])) with
// d = x - knots[i].
struct SplineCoefficients {
    std::vector<float> knots;
    std::vector<float> values;
    std::vector<float> secondDerivatives; // 0 at both ends
    std::vector<float> linear, quadratic, cubic;
};

// The natural cubic spline (second derivative 0 at both ends) through
// points with ascending abscissae, fitted and evaluated in single
// precision. Its arithmetic fails the way single-precision variables do: a
// zero divisor, a value beyond the range, an undefined value.
class NaturalSpline {
public:
    static constexpr std::size_t MinimumPoints = 4;

    // Fails also on fewer than MinimumPoints points, on lists of unequal
    // length and on descending abscissae.
    static std::variant<NaturalSpline, AppError> Fit(std::vector<float> knots, std::vector<float> values);

    std::variant<float, AppError> ValueAt(float x) const;

    const SplineCoefficients& Coefficients() const { return m_c; }

private:
    explicit NaturalSpline(SplineCoefficients c) : m_c(std::move(c)) {}

    SplineCoefficients m_c;
};

} // namespace tracella
