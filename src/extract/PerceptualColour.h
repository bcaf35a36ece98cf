#pragma once

#include "app/core/AppState.h"

#include <array>
#include <cstdint>

namespace tracella {

// A colour in CIELAB (D65 white), where equal distances look about equally
// different: a saturated curve colour then lies far from greys that are
// near it in RGB, while the dulled tints of JPEG ringing stay close.
struct LabColour {
    double l = 0, a = 0, b = 0;
};

LabColour ToLab(int red, int green, int blue);
inline LabColour ToLab(Colour c)
{
    return ToLab(RedOf(c), GreenOf(c), BlueOf(c));
}

// The CIE76 difference (Euclidean in CIELAB) of a 32-bit pixel to a colour,
// scaled by 2.55 so that the tolerance keeps its 0..255 range: 255 spans
// the whole lightness scale.
class PerceptualDistance {
public:
    explicit PerceptualDistance(Colour colour);
    double operator()(std::uint32_t pixel) const { return between(Lab(pixel)); }
    double between(const LabColour& lab) const;
    Colour colour() const { return colour_; }
    const LabColour& lab() const { return lab_; }

    static LabColour Lab(std::uint32_t pixel);

private:
    Colour colour_;
    LabColour lab_;
};

} // namespace tracella
