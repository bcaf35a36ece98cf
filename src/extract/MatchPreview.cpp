#include "extract/MatchPreview.h"

#include "extract/CurveTrace.h"
#include "extract/PerceptualColour.h"
#include "extract/PictureColours.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tracella {
namespace {

// Squared distances beyond any tolerance are all held as this one value.
constexpr int Beyond = 255 * 255 + 1;

// Kept free of branches so that the compiler runs it on whole vectors.
void SquaredDistances(const std::uint32_t* pixels, int count, Colour colour, std::uint16_t* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<std::uint16_t>(std::min(DistanceSquared(pixels[i], colour), Beyond));
}

// Squared and rounded up, so that comparing with a squared tolerance keeps
// exactly the pixels the follow takes as ink.
void PerceptualDistances(const std::uint32_t* pixels, int count, const PerceptualDistance& distance,
                         std::unordered_map<std::uint32_t, std::uint16_t>& known, std::uint16_t* out)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t pixel = pixels[i] | 0xFF000000u;
        auto found = known.find(pixel);
        if (found == known.end()) {
            const double d = distance(pixel);
            found = known.emplace(pixel, static_cast<std::uint16_t>(std::min<double>(std::ceil(d * d), Beyond))).first;
        }
        out[i] = found->second;
    }
}

// The least of a block's distances.
std::uint16_t Least(const std::uint16_t* values, int count)
{
    std::uint16_t least = 0xFFFF;
    for (int i = 0; i < count; ++i)
        least = values[i] < least ? values[i] : least;
    return least;
}

} // namespace

MatchPreview::MatchPreview(const QImage& picture, const QRect& area, Colour colour, Colour backdrop, bool perceptual)
{
    read(picture, area, colour, backdrop, perceptual);
}

void MatchPreview::read(const QImage& picture, const QRect& area, Colour colour, Colour backdrop, bool perceptual)
{
    area_ = area & picture.rect();
    colour_ = colour;
    perceptual_ = perceptual;
    const PerceptualDistance distance(colour);
    std::unordered_map<std::uint32_t, std::uint16_t> known;
    blocksPerRow_ = (area_.width() + BlockWidth - 1) / BlockWidth;
    // Only the part in view is laid over the backdrop, not a whole large picture.
    const bool direct = picture.format() == QImage::Format_RGB32;
    const QImage shown = direct ? picture : ShownPicture(picture.copy(area_), backdrop);
    const QPoint origin = direct ? area_.topLeft() : QPoint(0, 0);
    const int width = area_.width();
    distances_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(area_.height()));
    nearest_.resize(static_cast<std::size_t>(blocksPerRow_) * static_cast<std::size_t>(area_.height()));
    std::uint16_t* out = distances_.data();
    std::uint16_t* block = nearest_.data();
    for (int y = 0; y < area_.height(); ++y, out += width) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(shown.constScanLine(origin.y() + y)) + origin.x();
        if (perceptual)
            PerceptualDistances(line, width, distance, known, out);
        else
            SquaredDistances(line, width, colour, out);
        for (int b = 0; b < width; b += BlockWidth)
            *block++ = Least(out + b, std::min(BlockWidth, width - b));
    }
}

std::vector<MatchRun> MatchPreview::runs(int tolerance) const
{
    std::vector<MatchRun> found;
    const int t = std::clamp(tolerance, 0, 255);
    const auto limit = static_cast<std::uint16_t>(t * t);
    const int width = area_.width();
    const std::uint16_t* d = distances_.data();
    const std::uint16_t* block = nearest_.data();
    for (int y = 0; y < area_.height(); ++y, d += width, block += blocksPerRow_) {
        int begin = -1; // the open run's first pixel
        for (int b = 0; b < blocksPerRow_; ++b) {
            const int first = b * BlockWidth;
            const int end = std::min(first + BlockWidth, width);
            if (block[b] > limit) {
                if (begin >= 0)
                    found.push_back({area_.top() + y, area_.left() + begin, area_.left() + first});
                begin = -1;
                continue;
            }
            for (int x = first; x < end; ++x) {
                if (d[x] <= limit) {
                    if (begin < 0)
                        begin = x;
                } else if (begin >= 0) {
                    found.push_back({area_.top() + y, area_.left() + begin, area_.left() + x});
                    begin = -1;
                }
            }
        }
        if (begin >= 0)
            found.push_back({area_.top() + y, area_.left() + begin, area_.left() + width});
    }
    return found;
}

} // namespace tracella
