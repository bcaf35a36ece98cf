#include "extract/PerceptualColour.h"

#include <cmath>

namespace tracella {
namespace {

// sRGB to linear light, one entry per channel value.
const std::array<double, 256>& LinearChannel()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[static_cast<std::size_t>(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double LabF(double t)
{
    constexpr double Delta = 6.0 / 29.0;
    return t > Delta * Delta * Delta ? std::cbrt(t) : t / (3 * Delta * Delta) + 4.0 / 29.0;
}

constexpr double LabScale = 2.55;

} // namespace

LabColour ToLab(int red, int green, int blue)
{
    const auto& lin = LinearChannel();
    const double r = lin[static_cast<std::size_t>(red)];
    const double g = lin[static_cast<std::size_t>(green)];
    const double b = lin[static_cast<std::size_t>(blue)];
    // sRGB primaries to XYZ, relative to the D65 white point.
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const double fx = LabF(x), fy = LabF(y), fz = LabF(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

PerceptualDistance::PerceptualDistance(Colour colour) : colour_(colour), lab_(ToLab(colour)) {}

LabColour PerceptualDistance::Lab(std::uint32_t pixel)
{
    return ToLab(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                 static_cast<int>(pixel & 0xFF));
}

double PerceptualDistance::between(const LabColour& p) const
{
    return LabScale * std::sqrt((p.l - lab_.l) * (p.l - lab_.l) + (p.a - lab_.a) * (p.a - lab_.a) +
                                (p.b - lab_.b) * (p.b - lab_.b));
}

} // namespace tracella
