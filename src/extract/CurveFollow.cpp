#include "extract/CurveFollow.h"

#include "extract/PerceptualColour.h"
#include "extract/PictureColours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace tracella {
namespace {

// The tracker moves a pixel at a time and looks across the line this far
// either side, every half pixel.
constexpr double TrackStep = 1.0;
constexpr double HalfSpan = 8.0;
constexpr double SampleSpacing = 0.5;
constexpr int SectionSamples = static_cast<int>(2 * HalfSpan / SampleSpacing) + 1;
// A turn sharper than 60 degrees in one step is ink of something else.
constexpr double SharpestTurnCos = 0.5;
// The direction is the chord over this many steps, which smooths the
// centres' noise without lagging on tight loops.
constexpr std::size_t ChordSteps = 4;
// Ink looked for around the pick, in pixels.
constexpr int PickRadius = 6;
// Ends a follow that never stops, a spiral drawn into itself for one.
constexpr std::size_t MaxTrackSteps = 4000000;

double Dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}
double Length(QPointF a)
{
    return std::sqrt(Dot(a, a));
}
QPointF Unit(QPointF a)
{
    const double l = Length(a);
    return l > 0 ? a / l : QPointF(1, 0);
}
QPointF Normal(QPointF d)
{
    return {-d.y(), d.x()};
}

// How much each pixel counts as ink of the curve's colour: 1 for the colour
// itself, towards 0 at the edge of the tolerance, 0 beyond it or outside.
class Ink {
public:
    Ink(const QImage& pixels, const QRect& region, Colour colour, int tolerance)
        : pixels_(pixels), region_(region), distance_(colour), tolerance_(tolerance)
    {
    }

    const QRect& region() const { return region_; }

    // The colour decides what is ink; how much it counts goes by its
    // lightness between the paper's and the curve's, which JPEG keeps at
    // full resolution while it blurs the colour over pairs of pixels.
    double weight(int x, int y) const
    {
        if (!region_.contains(x, y))
            return 0;
        const std::uint32_t pixel = this->pixel(x, y) | 0xFF000000u;
        Known& known = cache_[(pixel * 2654435761u) >> (32 - CacheBits)];
        if (known.pixel != pixel) {
            const LabColour lab = PerceptualDistance::Lab(pixel);
            double w = 0;
            if (distance_.between(lab) <= tolerance_)
                w = std::clamp(1.0 - std::abs(lab.l - distance_.lab().l) / contrast_, 0.0, 1.0);
            known = {pixel, w};
        }
        return known.weight;
    }

    // The paper's lightness from the pixels around a place that are not ink.
    void readPaper(QPoint around)
    {
        double sum = 0;
        int count = 0;
        for (int y = around.y() - 2 * PickRadius; y <= around.y() + 2 * PickRadius; ++y)
            for (int x = around.x() - 2 * PickRadius; x <= around.x() + 2 * PickRadius; ++x) {
                if (!region_.contains(x, y))
                    continue;
                const LabColour lab = PerceptualDistance::Lab(pixel(x, y));
                if (distance_.between(lab) > tolerance_) {
                    sum += lab.l;
                    ++count;
                }
            }
        const double paper = count > 0 ? sum / count : 100.0;
        contrast_ = std::max(MinContrast, std::abs(paper - distance_.lab().l));
        cache_.fill({});
    }

    // Interpolated between pixel centres, so that centres come out sub-pixel.
    double at(QPointF p) const
    {
        const double fx = p.x() - 0.5, fy = p.y() - 0.5;
        const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
        const double tx = fx - x0, ty = fy - y0;
        return (1 - tx) * (1 - ty) * weight(x0, y0) + tx * (1 - ty) * weight(x0 + 1, y0) +
               (1 - tx) * ty * weight(x0, y0 + 1) + tx * ty * weight(x0 + 1, y0 + 1);
    }

private:
    // Below this lightness step the curve is told from the paper by colour alone.
    static constexpr double MinContrast = 10;

    std::uint32_t pixel(int x, int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(pixels_.constScanLine(y))[x];
    }

    const QImage& pixels_;
    QRect region_;
    PerceptualDistance distance_;
    double tolerance_;
    double contrast_ = MinContrast;
    // The weights of the colours met last, by a hash of the colour: a
    // picture holds few colours along one curve.
    static constexpr int CacheBits = 12;
    struct Known {
        std::uint32_t pixel = 0; // opaque pixels only: 0 is never one
        double weight = 0;
    };
    mutable std::array<Known, std::size_t{1} << CacheBits> cache_{};
};

// The ink across the path at one place: the run nearest the path.
struct Section {
    bool found = false;
    double centre = 0; // along the normal, from the place looked at
    double width = 0;  // wider than the span when it reaches both ends
};

Section CrossSection(const Ink& ink, QPointF at, QPointF normal)
{
    std::array<double, SectionSamples> w{};
    for (int i = 0; i < SectionSamples; ++i)
        w[static_cast<std::size_t>(i)] = ink.at(at + normal * (-HalfSpan + i * SampleSpacing));
    constexpr int Middle = SectionSamples / 2;
    int bestBegin = -1, bestEnd = -1, bestDistance = SectionSamples;
    for (int i = 0; i < SectionSamples;) {
        if (w[static_cast<std::size_t>(i)] <= 0) {
            ++i;
            continue;
        }
        const int begin = i;
        while (i < SectionSamples && w[static_cast<std::size_t>(i)] > 0)
            ++i;
        const int distance = Middle < begin ? begin - Middle : (Middle >= i ? Middle - i + 1 : 0);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestBegin = begin;
            bestEnd = i;
        }
    }
    Section s;
    if (bestBegin < 0)
        return s;
    double sum = 0, moment = 0;
    for (int i = bestBegin; i < bestEnd; ++i) {
        sum += w[static_cast<std::size_t>(i)];
        moment += w[static_cast<std::size_t>(i)] * (-HalfSpan + i * SampleSpacing);
    }
    s.found = true;
    s.centre = moment / sum;
    s.width = bestBegin == 0 && bestEnd == SectionSamples ? 2 * HalfSpan + 1 : (bestEnd - bestBegin) * SampleSpacing;
    return s;
}

// A line crossing ours, a marker drawn over it or a blob where several
// meet make the section wider than the line.
double WidestOfLine(double lineWidth)
{
    return lineWidth + std::max(1.5, 0.4 * lineWidth);
}

struct Vertex {
    QPointF p;
    bool ink; // false inside a gap bridged
};

struct Track {
    std::vector<Vertex> path; // from the start, not including it
    bool closed = false;
};

class Follower {
public:
    Follower(const Ink& ink, double gap) : ink_(ink), gap_(gap) {}

    Track follow(QPointF start, QPointF direction, double lineWidth, bool watchForClosing) const
    {
        Track t;
        QPointF p = start, d = direction;
        double width = lineWidth, gapRun = 0, crossingRun = 0, travelled = 0;
        std::size_t lastSure = 0; // path size up to the last re-centred vertex
        std::vector<QPointF> sure{start};
        for (std::size_t step = 0; step < MaxTrackSteps; ++step) {
            const QPointF q = p + d * TrackStep;
            if (!ink_.region().contains(
                    QPoint(static_cast<int>(std::floor(q.x())), static_cast<int>(std::floor(q.y())))))
                break;
            const QPointF n = Normal(d);
            const Section s = CrossSection(ink_, q, n);
            const bool onLine = s.found && s.width <= WidestOfLine(width);
            QPointF next = q;
            bool accepted = false;
            if (onLine) {
                next = q + n * s.centre;
                accepted = Dot(Unit(next - p), d) >= SharpestTurnCos;
            }
            if (accepted) {
                width = 0.9 * width + 0.1 * s.width;
                // Across a crossing or a gap the curve went on as it came
                // and left: a cubic between the two places re-centred.
                if (lastSure < t.path.size())
                    Bridge(t.path, lastSure, sure.back(), d, next);
                gapRun = crossingRun = 0;
                sure.push_back(next);
                t.path.push_back({next, true});
                lastSure = t.path.size();
                const QPointF chordFrom = sure[sure.size() > ChordSteps ? sure.size() - 1 - ChordSteps : 0];
                d = Length(next - chordFrom) > 0.5 ? Unit(next - chordFrom) : Unit(next - p);
            } else if (s.found && !onLine) {
                // Straight on through whatever lies over the line.
                crossingRun += TrackStep;
                if (crossingRun > 2 * gap_)
                    break;
                t.path.push_back({q, true});
            } else {
                gapRun += TrackStep;
                if (gapRun + crossingRun > gap_ + (crossingRun > 0 ? 2 * gap_ : 0))
                    break;
                t.path.push_back({q, false});
            }
            p = next;
            travelled += TrackStep;
            if (watchForClosing && accepted && travelled > 4 * HalfSpan && Length(p - start) < TrackStep) {
                t.closed = true;
                break;
            }
        }
        // A follow ends on the last place re-centred on the line.
        t.path.resize(lastSure);
        return t;
    }

private:
    // Path vertices from first on lie between from and to; entering along
    // direction, leaving along the chord's direction.
    static void Bridge(std::vector<Vertex>& path, std::size_t first, QPointF from, QPointF direction, QPointF to)
    {
        const std::size_t count = path.size() - first + 1;
        const double chord = Length(to - from);
        const QPointF t0 = direction * chord, t1 = Unit(to - path.back().p) * chord;
        for (std::size_t k = 0; k + 1 < count; ++k) {
            const double u = static_cast<double>(k + 1) / static_cast<double>(count);
            const double h00 = 2 * u * u * u - 3 * u * u + 1, h10 = u * u * u - 2 * u * u + u;
            const double h01 = -2 * u * u * u + 3 * u * u, h11 = u * u * u - u * u;
            path[first + k].p = from * h00 + t0 * h10 + to * h01 + t1 * h11;
        }
    }

    const Ink& ink_;
    double gap_;
};

// The main direction of the ink around a place, from its weighted spread.
QPointF InkDirection(const Ink& ink, QPoint centre)
{
    double sw = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int y = centre.y() - PickRadius; y <= centre.y() + PickRadius; ++y)
        for (int x = centre.x() - PickRadius; x <= centre.x() + PickRadius; ++x) {
            const double w = ink.weight(x, y);
            if (w <= 0)
                continue;
            sw += w;
            sx += w * x;
            sy += w * y;
            sxx += w * x * x;
            syy += w * y * y;
            sxy += w * x * y;
        }
    const double mx = sx / sw, my = sy / sw;
    const double cxx = sxx / sw - mx * mx, cyy = syy / sw - my * my, cxy = sxy / sw - mx * my;
    const double angle = 0.5 * std::atan2(2 * cxy, cxx - cyy);
    return {std::cos(angle), std::sin(angle)};
}

// The ink pixel nearest the pick.
std::optional<QPoint> NearestInk(const Ink& ink, QPointF pick)
{
    std::optional<QPoint> best;
    double bestDistance = 0;
    const int px = static_cast<int>(std::floor(pick.x())), py = static_cast<int>(std::floor(pick.y()));
    for (int y = py - PickRadius; y <= py + PickRadius; ++y)
        for (int x = px - PickRadius; x <= px + PickRadius; ++x) {
            if (ink.weight(x, y) <= 0)
                continue;
            const double distance = Length(QPointF(x + 0.5, y + 0.5) - pick);
            if (distance <= PickRadius && (!best || distance < bestDistance)) {
                best = QPoint(x, y);
                bestDistance = distance;
            }
        }
    return best;
}

// Each place looked at again across the direction of the finished path,
// which no longer lags as the tracker's did, then eased with its
// neighbours to quiet the noise of the picture.
void Refine(const Ink& ink, std::vector<Vertex>& path)
{
    constexpr std::size_t Reach = 3;
    std::vector<Vertex> centred = path;
    for (std::size_t i = Reach; i + Reach < path.size(); ++i) {
        if (!path[i - Reach].ink || !path[i].ink || !path[i + Reach].ink)
            continue;
        const QPointF n = Normal(Unit(path[i + Reach].p - path[i - Reach].p));
        const Section s = CrossSection(ink, path[i].p, n);
        if (s.found && std::abs(s.centre) < 1.0)
            centred[i].p = path[i].p + n * s.centre;
    }
    for (std::size_t i = 1; i + 1 < path.size(); ++i) {
        if (centred[i - 1].ink && centred[i].ink && centred[i + 1].ink)
            path[i].p = (centred[i - 1].p + 2 * centred[i].p + centred[i + 1].p) / 4;
    }
}

double Along(TraceAxis axis, QPointF p)
{
    return axis == TraceAxis::X ? p.x() : p.y();
}

// Points every step of length, where ink is drawn on both ends of the stretch.
void PointsByLength(const std::vector<Vertex>& path, double step, bool closed, std::vector<TracePoint>& out,
                    std::int64_t& count, std::int64_t keep)
{
    double travelled = 0, nextAt = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const QPointF a = path[i].p, b = path[i + 1].p;
        const double length = Length(b - a);
        for (; nextAt <= travelled + length; nextAt += step) {
            const bool last = i + 2 == path.size() && nextAt > travelled + length - 1e-9;
            if (closed && last)
                break; // the start again
            if (!path[i].ink || !path[i + 1].ink)
                continue;
            const double f = length > 0 ? (nextAt - travelled) / length : 0;
            if (++count <= keep)
                out.push_back({a.x() + f * (b.x() - a.x()), a.y() + f * (b.y() - a.y())});
        }
        travelled += length;
    }
}

// Points wherever the path passes a sample of the independent axis, in the
// path's order: a curve that turns back meets a sample again.
void PointsAtSamples(const std::vector<Vertex>& path, TraceAxis axis, const std::vector<double>& samples,
                     std::vector<TracePoint>& out, std::int64_t& count, std::int64_t keep)
{
    auto place = [&](QPointF a, QPointF b, double s) {
        const double ca = Along(axis, a), cb = Along(axis, b);
        const double f = cb != ca ? (s - ca) / (cb - ca) : 0;
        if (++count <= keep)
            out.push_back({a.x() + f * (b.x() - a.x()), a.y() + f * (b.y() - a.y())});
    };
    if (!path.empty() && std::binary_search(samples.begin(), samples.end(), Along(axis, path.front().p)))
        place(path.front().p, path.front().p, Along(axis, path.front().p));
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        if (!path[i].ink || !path[i + 1].ink)
            continue;
        const QPointF a = path[i].p, b = path[i + 1].p;
        const double ca = Along(axis, a), cb = Along(axis, b);
        if (ca < cb) {
            for (auto it = std::upper_bound(samples.begin(), samples.end(), ca); it != samples.end() && *it <= cb; ++it)
                place(a, b, *it);
        } else if (cb < ca) {
            auto it = std::upper_bound(samples.begin(), samples.end(), ca);
            for (; it != samples.begin() && *(it - 1) >= cb; --it)
                if (*(it - 1) < ca)
                    place(a, b, *(it - 1));
        }
    }
}

} // namespace

FollowResult FollowCurve(const QImage& picture, const FollowSettings& settings)
{
    FollowResult result;
    const QRect region = (settings.region.isNull() ? picture.rect() : settings.region) & picture.rect();
    if (region.isEmpty())
        return result;
    const QImage pixels = ShownPicture(picture, settings.backdrop);
    Ink ink(pixels, region, settings.colour, settings.tolerance);

    const std::optional<QPoint> seed = NearestInk(ink, settings.start);
    if (!seed)
        return result;
    result.outcome = FollowResult::Outcome::NoCurve;
    ink.readPaper(*seed);
    const QPointF direction = InkDirection(ink, *seed);
    const QPointF seedCentre(seed->x() + 0.5, seed->y() + 0.5);
    const Section across = CrossSection(ink, seedCentre, Normal(direction));
    if (!across.found || across.width > 2 * HalfSpan)
        return result; // a filled area or a blob, not a line
    const QPointF start = seedCentre + Normal(direction) * across.centre;

    const Follower follower(ink, settings.gap);
    Track forward = follower.follow(start, direction, across.width, true);
    std::vector<Vertex> path;
    if (!forward.closed) {
        Track backward = follower.follow(start, -direction, across.width, false);
        path.assign(backward.path.rbegin(), backward.path.rend());
    }
    path.push_back({start, true});
    path.insert(path.end(), forward.path.begin(), forward.path.end());
    if (forward.closed)
        path.push_back({start, true});
    double length = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        length += Length(path[i + 1].p - path[i].p);
    if (length < 2 * TrackStep)
        return result;

    Refine(ink, path);
    result.outcome = FollowResult::Outcome::Followed;
    result.closed = forward.closed;
    if (!result.closed && Along(settings.axis, path.front().p) > Along(settings.axis, path.back().p))
        std::reverse(path.begin(), path.end());
    if (settings.samples.empty())
        PointsByLength(path, settings.step, result.closed, result.points, result.count, settings.keep);
    else
        PointsAtSamples(path, settings.axis, settings.samples, result.points, result.count, settings.keep);
    if (result.count > settings.keep)
        result.points.clear();
    return result;
}

} // namespace tracella
