#include "picture/PolarTurn.h"

#include <algorithm>
#include <cmath>

namespace tracella {

namespace {

// Halves to even: the default floating-point rounding mode.
std::int64_t Rounded(double value) { return std::llrint(value); }

// A value this near a half may round the other way under a difference of a
// few units in the last place.
bool NearTie(double value, std::int64_t rounded, double slack)
{
    return std::abs(value - static_cast<double>(rounded)) >= 0.5 - slack;
}

// atan(small / large) for 0 <= small <= large, large >= 1, within a few
// units in the last place: atan(u) = atan(c) + atan((u - c) / (1 + u c))
// with c the nearest of the table's steps.
template <std::size_t Size>
double ArctangentOfRatio(double small, double large, double reciprocalOfLarge,
                         const std::array<double, Size>& tableAtan)
{
    constexpr int steps = Size - 1;
    const int step = static_cast<int>(small * steps * reciprocalOfLarge + 0.5);
    const double w = (steps * small - step * large) / (steps * large + step * small); // |w| <~ 1/(2 steps)
    const double w2 = w * w;
    const double atanW = w + w * w2 * (-1.0 / 3 + w2 * (1.0 / 5 + w2 * (-1.0 / 7 + w2 * (1.0 / 9))));
    return tableAtan[step] + atanW;
}

} // namespace

PolarTurn::PolarTurn(double angleDegrees, std::int64_t reach)
    : reciprocal_(static_cast<std::size_t>(std::max<std::int64_t>(reach, 0) + 1)),
      estimates_(reciprocal_.size()),
      doubtful_(reciprocal_.size())
{
    const double pi = 4 * std::atan(1.0);
    halfPi_ = pi / 2;
    theta_ = angleDegrees * (pi / 180);
    cosTheta_ = std::cos(theta_);
    sinTheta_ = std::sin(theta_);
    for (int i = 0; i <= TableSteps; ++i)
        tableAtan_[i] = std::atan(static_cast<double>(i) / TableSteps);
    for (std::size_t i = 1; i < reciprocal_.size(); ++i)
        reciprocal_[i] = 1.0 / static_cast<double>(i);
}

PixelOffset PolarTurn::defined(std::int64_t x, std::int64_t y) const
{
    const float angle =
        x == 0 ? static_cast<float>(halfPi_) : static_cast<float>(std::atan(static_cast<double>(y) / x));
    const double radius = static_cast<double>(Rounded(std::sqrt(static_cast<double>(x * x + y * y))));
    const double turned = angle + theta_;
    return {Rounded(radius * std::cos(turned)), Rounded(radius * std::sin(turned))};
}

void PolarTurn::column(std::int64_t x, std::span<PixelOffset> offsets)
{
    const std::int64_t count = static_cast<std::int64_t>(offsets.size());
    if (x == 0) {
        for (std::int64_t y = 0; y < count; ++y)
            offsets[y] = defined(x, y);
        return;
    }
    // Estimates of atan(y / x), by atan(y / x) = pi/2 - atan(x / y) above
    // the diagonal.
    const double dx = static_cast<double>(x);
    const std::int64_t diagonal = std::min(x, count - 1);
    for (std::int64_t y = 0; y <= diagonal; ++y)
        estimates_[y] = ArctangentOfRatio(static_cast<double>(y), dx, reciprocal_[x], tableAtan_);
    for (std::int64_t y = diagonal + 1; y < count; ++y)
        estimates_[y] = halfPi_ - ArctangentOfRatio(dx, static_cast<double>(y), reciprocal_[y], tableAtan_);

    for (std::int64_t y = 0; y < count; ++y) {
        const double dy = static_cast<double>(y);
        // The single-precision angle is the library's unless the estimate
        // lies too near the midpoint between two floats to tell.
        const double estimate = estimates_[y];
        const double angleSlack = 1e-14 * estimate;
        const float angle = static_cast<float>(estimate);
        const bool angleDoubtful =
            static_cast<float>(estimate - angleSlack) != static_cast<float>(estimate + angleSlack);

        // cos and sin of the float angle from those of atan(y/x), which are
        // x/rho and y/rho, turned by the tiny rounding difference delta.
        const double delta = static_cast<double>(angle) - estimate;
        const double cosDelta = 1 - delta * delta / 2;
        const double rho = std::sqrt(dx * dx + dy * dy);
        const double radius = static_cast<double>(Rounded(rho));
        const double cosTimesRho = dx * cosDelta - dy * delta;
        const double sinTimesRho = dy * cosDelta + dx * delta;
        const double scale = radius / rho;
        const double px = scale * (cosTimesRho * cosTheta_ - sinTimesRho * sinTheta_);
        const double py = scale * (sinTimesRho * cosTheta_ + cosTimesRho * sinTheta_);
        offsets[y] = {Rounded(px), Rounded(py)};

        const double tieSlack = 1e-13 * (radius + 1);
        doubtful_[y] = angleDoubtful | NearTie(px, offsets[y].x, tieSlack) | NearTie(py, offsets[y].y, tieSlack);
    }

    for (std::int64_t y = 0; y < count; ++y)
        if (doubtful_[y])
            offsets[y] = defined(x, y);
}

} // namespace tracella
