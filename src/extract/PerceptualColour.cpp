#include "extract/PerceptualColour.h"

#include <cmath>
#include <map>

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

namespace {

Colour PackedOf(QRgb pixel)
{
    return Rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// Colours nearer than this are one colour to the eye (ΔE × 2.55).
constexpr double SameColour = 25;

} // namespace

Colour CurveColourAt(const QImage& shown, QPoint pixel)
{
    constexpr int Around = 4, Near = 2;
    const QRgb clicked = shown.pixel(pixel);
    // The commonest colour around, counted coarsely so that noise and JPEG
    // ringing do not split it.
    std::map<QRgb, std::pair<int, QRgb>> counts;
    for (int y = pixel.y() - Around; y <= pixel.y() + Around; ++y)
        for (int x = pixel.x() - Around; x <= pixel.x() + Around; ++x) {
            if (!shown.valid(x, y))
                continue;
            const QRgb p = shown.pixel(x, y);
            auto& entry = counts[p & 0xF0F0F0u];
            if (++entry.first == 1)
                entry.second = p;
        }
    const auto commonest = std::max_element(
        counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second.first < b.second.first; });
    const PerceptualDistance fromCommon(PackedOf(commonest->second.second));
    if (fromCommon(clicked) <= SameColour)
        return PackedOf(clicked);
    QRgb strongest = clicked;
    double farthest = fromCommon(clicked);
    for (int y = pixel.y() - Near; y <= pixel.y() + Near; ++y)
        for (int x = pixel.x() - Near; x <= pixel.x() + Near; ++x) {
            if (!shown.valid(x, y))
                continue;
            const double d = fromCommon(shown.pixel(x, y));
            if (d > farthest) {
                farthest = d;
                strongest = shown.pixel(x, y);
            }
        }
    return PackedOf(strongest);
}

} // namespace tracella
