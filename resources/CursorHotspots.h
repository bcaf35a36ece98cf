#pragma once

#include <algorithm>
#include <array>

namespace tracella {

// A mouse-pointer picture of the program's resources and the pixel it points with.
struct PointerImage {
    const char* resource;
    int hotX;
    int hotY;
};

// The pointer pictures offered by the options dialog, in slider order. All are 32 x 32;
// the cross-hair shapes point with their centre pixel, the arrow with its tip.
inline constexpr std::array<PointerImage, 7> PointerImages{{
    {":/cursors/pointer1.png", 16, 16}, // thin cross
    {":/cursors/pointer2.png", 16, 16}, // cross with an open centre
    {":/cursors/pointer3.png", 16, 16}, // cross in a circle
    {":/cursors/pointer4.png", 16, 16}, // dot
    {":/cursors/pointer5.png", 1, 1},   // arrow, tip one pixel in so its rim fits
    {":/cursors/pointer6.png", 16, 16}, // bull's-eye
    {":/cursors/pointer7.png", 16, 16}, // diagonal cross
}};

inline constexpr int PointerImageCount = static_cast<int>(PointerImages.size());

// position counts from 1, as the slider does; positions outside the table give its nearest end.
constexpr const PointerImage& PointerImageAt(int position)
{
    return PointerImages[static_cast<std::size_t>(std::clamp(position, 1, PointerImageCount) - 1)];
}

} // namespace tracella
