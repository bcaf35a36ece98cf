#include "extract/MatchPreview.h"

#include "extract/CurveTrace.h"
#include "extract/PictureColours.h"

#include <algorithm>
#include <cstring>

namespace tracella {
namespace {

// The largest squared RGB distance: 3 * 255 * 255.
constexpr int MaxDistanceSquared = 195075;

// Rounded-up square roots of every squared distance, made once.
const std::vector<std::uint16_t>& RoundedUpRoots()
{
    static const std::vector<std::uint16_t> roots = [] {
        std::vector<std::uint16_t> table(MaxDistanceSquared + 1);
        int root = 0;
        for (int d = 0; d <= MaxDistanceSquared; ++d) {
            while (root * root < d)
                ++root;
            table[static_cast<std::size_t>(d)] = static_cast<std::uint16_t>(root);
        }
        return table;
    }();
    return roots;
}

} // namespace

MatchPreview::MatchPreview(const QImage& picture, const QRect& area, Colour colour, Colour backdrop)
    : area_(area & picture.rect()), colour_(colour)
{
    // Only the part in view is laid over the backdrop, not a whole large picture.
    const bool direct = picture.format() == QImage::Format_RGB32;
    const QImage shown = direct ? picture : ShownPicture(picture.copy(area_), backdrop);
    const QPoint origin = direct ? area_.topLeft() : QPoint(0, 0);
    const std::vector<std::uint16_t>& roots = RoundedUpRoots();
    distances_.resize(static_cast<std::size_t>(area_.width()) * static_cast<std::size_t>(area_.height()));
    std::uint16_t* out = distances_.data();
    for (int y = 0; y < area_.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(shown.constScanLine(origin.y() + y)) + origin.x();
        for (int x = 0; x < area_.width(); ++x)
            *out++ = roots[static_cast<std::size_t>(DistanceSquared(line[x], colour))];
    }
}

std::vector<MatchRun> MatchPreview::runs(int tolerance) const
{
    std::vector<MatchRun> found;
    const auto limit = static_cast<std::uint16_t>(std::max(tolerance, 0));
    const std::uint16_t* d = distances_.data();
    const int width = area_.width();
    std::vector<std::uint8_t> match(static_cast<std::size_t>(width) + 8, 0);
    for (int y = 0; y < area_.height(); ++y, d += width) {
        for (int x = 0; x < width; ++x)
            match[static_cast<std::size_t>(x)] = d[x] <= limit ? 1 : 0;
        for (int x = 0; x < width;) {
            std::uint64_t word = 0;
            std::memcpy(&word, match.data() + x, 8);
            if (word == 0) {
                x += 8;
                continue;
            }
            if (!match[static_cast<std::size_t>(x)]) {
                ++x;
                continue;
            }
            const int begin = x;
            while (x < width && match[static_cast<std::size_t>(x)])
                ++x;
            found.push_back({area_.top() + y, area_.left() + begin, area_.left() + x});
        }
    }
    return found;
}

} // namespace tracella
