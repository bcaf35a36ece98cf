#include "extract/CurveTrace.h"

#include "extract/PictureColours.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace tracella {
namespace {

// Beyond this many runs of marker pixels the blobs are no longer told apart,
// which bounds the memory a picture of noise can take.
constexpr std::int64_t MaxMarkerRuns = std::int64_t{1} << 22;

// How much a matching pixel counts towards a centre: 1 for the very colour,
// falling towards 0 at the edge of the tolerance, so antialiased fringes pull
// less than the core of the line.
double Weight(int distanceSquared, int tolerance)
{
    return 1.0 - std::sqrt(static_cast<double>(distanceSquared)) / (tolerance + 1);
}

// Kept free of branches so that the compiler can run it on whole vectors.
void MatchLine(const std::uint32_t* pixels, int count, Colour colour, int limit, std::uint8_t* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = DistanceSquared(pixels[i], colour) <= limit ? 1 : 0;
}

const std::uint32_t* PixelRow(const QImage& image, int row)
{
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
}

// The weighted centre of one run of matching pixels along a line.
struct RunSum {
    double weight = 0;
    double moment = 0;
    int last = 0;
    bool open = false;

    void add(int position, double w)
    {
        if (!open) {
            open = true;
            weight = moment = 0;
        }
        weight += w;
        moment += w * (position + 0.5);
        last = position;
    }
    double centre() const { return moment / weight; }
};

// Beyond this many crossings of the sampled lines they are only counted.
constexpr std::size_t MaxStoredCrossings = std::size_t{1} << 24;

// A sample between two pixel centres reads both lines around it: the line
// whose centre lies at or before it and, unless it sits on that centre, the
// next one.
struct SampleLines {
    double position;
    int before;     // the line whose centre is at or before the sample
    double between; // 0 on that centre, towards 1 at the next
};

std::vector<SampleLines> SamplesWithin(const std::vector<double>& samples, int first, int end)
{
    std::vector<SampleLines> within;
    for (const double s : samples) {
        if (!(s >= first && s < end))
            continue;
        const int before = std::clamp(static_cast<int>(std::floor(s - 0.5)), first, end - 1);
        const double between = before + 1 < end ? std::clamp(s - 0.5 - before, 0.0, 1.0) : 0.0;
        within.push_back({s, before, between});
    }
    return within;
}

// The distinct lines the samples read, ascending.
std::vector<int> LinesRead(const std::vector<SampleLines>& samples)
{
    std::vector<int> lines;
    for (const SampleLines& s : samples) {
        for (const int line : {s.before, s.before + 1}) {
            if (line == s.before + 1 && s.between == 0)
                continue;
            if (lines.empty() || lines.back() < line)
                lines.push_back(line);
        }
    }
    return lines;
}

// The crossing of the other line nearest to a position, -1 without one.
std::ptrdiff_t Nearest(const std::vector<double>& crossings, double position)
{
    std::ptrdiff_t best = -1;
    for (std::size_t i = 0; i < crossings.size(); ++i)
        if (best < 0 || std::abs(crossings[i] - position) < std::abs(crossings[static_cast<std::size_t>(best)] - position))
            best = static_cast<std::ptrdiff_t>(i);
    return best;
}

// The crossings at a sample between two lines: each crossing of one line
// paired with the other's that is nearest to it both ways is interpolated;
// one left unpaired counts on the side of the line nearer the sample.
void CrossingsBetween(const std::vector<double>& before, const std::vector<double>& after, double between,
                      std::vector<double>& out)
{
    out.clear();
    if (between == 0) {
        out = before;
        return;
    }
    std::vector<bool> pairedAfter(after.size(), false);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::ptrdiff_t j = Nearest(after, before[i]);
        if (j >= 0 && Nearest(before, after[static_cast<std::size_t>(j)]) == static_cast<std::ptrdiff_t>(i)) {
            pairedAfter[static_cast<std::size_t>(j)] = true;
            out.push_back(before[i] + between * (after[static_cast<std::size_t>(j)] - before[i]));
        } else if (between < 0.5) {
            out.push_back(before[i]);
        }
    }
    if (between >= 0.5)
        for (std::size_t j = 0; j < after.size(); ++j)
            if (!pairedAfter[j])
                out.push_back(after[j]);
    std::sort(out.begin(), out.end());
}

class CurveTracer {
public:
    CurveTracer(const QImage& pixels, const TraceSettings& settings, const QRect& region)
        : pixels_(pixels), s_(settings), region_(region), limit_(settings.tolerance * settings.tolerance)
    {
    }

    TraceResult run()
    {
        const bool onX = s_.axis == TraceAxis::X;
        const int first = onX ? region_.left() : region_.top();
        const int end = first + (onX ? region_.width() : region_.height());
        const std::vector<SampleLines> samples = SamplesWithin(s_.samples, first, end);
        lines_ = LinesRead(samples);
        crossings_.assign(lines_.size(), {});
        if (onX)
            traceColumns();
        else
            traceRows();

        TraceResult result;
        if (stored_ > MaxStoredCrossings) {
            result.count = static_cast<std::int64_t>(stored_);
            result.countIsLowerBound = true;
            return result;
        }
        std::vector<double> at;
        for (const SampleLines& sample : samples) {
            const auto before = static_cast<std::size_t>(
                std::lower_bound(lines_.begin(), lines_.end(), sample.before) - lines_.begin());
            const std::vector<double>& after = sample.between > 0 ? crossings_[before + 1] : crossings_[before];
            CrossingsBetween(crossings_[before], after, sample.between, at);
            result.count += static_cast<std::int64_t>(at.size());
            if (result.count > s_.keep)
                continue;
            for (const double c : at)
                result.points.push_back(onX ? TracePoint{sample.position, c} : TracePoint{c, sample.position});
        }
        if (result.count > s_.keep)
            result.points.clear();
        return result;
    }

private:
    void keep(std::size_t line, double centre)
    {
        if (++stored_ <= MaxStoredCrossings)
            crossings_[line].push_back(centre);
    }

    // Row after row along the picture's memory, each line read keeping its open run.
    void traceColumns()
    {
        const auto n = static_cast<int>(lines_.size());
        if (n == 0)
            return;
        const bool contiguous = lines_.back() - lines_.front() + 1 == n;
        const auto padded = static_cast<std::size_t>((n + 7) / 8 * 8);
        std::vector<std::uint32_t> gathered(static_cast<std::size_t>(n));
        std::vector<std::uint8_t> match(padded, 0);
        std::vector<std::uint8_t> open(padded, 0);
        std::vector<RunSum> runs(static_cast<std::size_t>(n));

        auto close = [&](std::size_t k) {
            keep(k, runs[k].centre());
            runs[k].open = false;
            open[k] = 0;
        };
        for (int row = region_.top(); row <= region_.bottom(); ++row) {
            const std::uint32_t* line = PixelRow(pixels_, row);
            const std::uint32_t* source = line + lines_.front();
            if (!contiguous) {
                for (int k = 0; k < n; ++k)
                    gathered[static_cast<std::size_t>(k)] = line[lines_[static_cast<std::size_t>(k)]];
                source = gathered.data();
            }
            MatchLine(source, n, s_.colour, limit_, match.data());
            for (std::size_t j = 0; j < padded; j += 8) {
                std::uint64_t m = 0, o = 0;
                std::memcpy(&m, match.data() + j, 8);
                std::memcpy(&o, open.data() + j, 8);
                if ((m | o) == 0)
                    continue;
                for (std::size_t k = j; k < std::min(j + 8, static_cast<std::size_t>(n)); ++k) {
                    if (match[k]) {
                        runs[k].add(row, Weight(DistanceSquared(source[k], s_.colour), s_.tolerance));
                        open[k] = 1;
                    } else if (open[k] && row - runs[k].last > s_.bridge) {
                        close(k);
                    }
                }
            }
        }
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
            if (open[k])
                close(k);
    }

    // Each row read on its own: it lies along the picture's memory already.
    void traceRows()
    {
        std::vector<std::uint8_t> match(static_cast<std::size_t>(region_.width()));
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            const std::uint32_t* source = PixelRow(pixels_, lines_[k]) + region_.left();
            MatchLine(source, region_.width(), s_.colour, limit_, match.data());
            RunSum run;
            auto close = [&] {
                keep(k, run.centre() + region_.left());
                run.open = false;
            };
            for (int i = 0; i < region_.width(); ++i) {
                if (match[static_cast<std::size_t>(i)])
                    run.add(i, Weight(DistanceSquared(source[i], s_.colour), s_.tolerance));
                else if (run.open && i - run.last > s_.bridge)
                    close();
            }
            if (run.open)
                close();
        }
    }

    const QImage& pixels_;
    const TraceSettings& s_;
    const QRect region_;
    const int limit_;
    std::vector<int> lines_;
    std::vector<std::vector<double>> crossings_; // per line read, in order along it
    std::size_t stored_ = 0;
};

// Blobs of 8-connected matching pixels, found as runs along each row joined
// to the runs they touch in the row above.
class MarkerFinder {
public:
    MarkerFinder(const QImage& pixels, const TraceSettings& settings, const QRect& region)
        : pixels_(pixels), s_(settings), region_(region), limit_(settings.tolerance * settings.tolerance)
    {
    }

    TraceResult run()
    {
        TraceResult result;
        std::vector<std::uint8_t> match(static_cast<std::size_t>(region_.width()));
        std::vector<Span> above, current;
        for (int row = region_.top(); row <= region_.bottom(); ++row) {
            const std::uint32_t* source = PixelRow(pixels_, row) + region_.left();
            MatchLine(source, region_.width(), s_.colour, limit_, match.data());
            current.clear();
            for (int i = 0; i < region_.width();) {
                if (!match[static_cast<std::size_t>(i)]) {
                    ++i;
                    continue;
                }
                if (static_cast<std::int64_t>(blobs_.size()) >= MaxMarkerRuns) {
                    result.countIsLowerBound = true;
                    row = region_.bottom();
                    break;
                }
                Span span{i, i, static_cast<int>(blobs_.size())};
                Blob blob;
                for (; i < region_.width() && match[static_cast<std::size_t>(i)]; ++i) {
                    const double w = Weight(DistanceSquared(source[i], s_.colour), s_.tolerance);
                    blob.weight += w;
                    blob.sumX += w * (region_.left() + i + 0.5);
                    blob.sumY += w * (row + 0.5);
                }
                span.end = i;
                blob.parent = span.blob;
                blobs_.push_back(blob);
                current.push_back(span);
            }
            joinRows(above, current);
            std::swap(above, current);
        }
        gather(result);
        return result;
    }

private:
    struct Span {
        int begin; // first matching pixel
        int end;   // one past the last
        int blob;
    };
    struct Blob {
        int parent = 0;
        double weight = 0;
        double sumX = 0;
        double sumY = 0;
    };

    int root(int b)
    {
        while (blobs_[static_cast<std::size_t>(b)].parent != b) {
            auto& parent = blobs_[static_cast<std::size_t>(b)].parent;
            parent = blobs_[static_cast<std::size_t>(parent)].parent;
            b = parent;
        }
        return b;
    }

    // Runs touch when they overlap or meet at a corner.
    void joinRows(const std::vector<Span>& above, const std::vector<Span>& below)
    {
        std::size_t a = 0;
        for (const Span& b : below) {
            while (a < above.size() && above[a].end < b.begin)
                ++a;
            for (std::size_t k = a; k < above.size() && above[k].begin <= b.end; ++k) {
                const int x = root(above[k].blob), y = root(b.blob);
                if (x != y)
                    blobs_[static_cast<std::size_t>(std::max(x, y))].parent = std::min(x, y);
            }
        }
    }

    void gather(TraceResult& result)
    {
        for (std::size_t b = 0; b < blobs_.size(); ++b) {
            const auto r = static_cast<std::size_t>(root(static_cast<int>(b)));
            if (r == b)
                continue;
            blobs_[r].weight += blobs_[b].weight;
            blobs_[r].sumX += blobs_[b].sumX;
            blobs_[r].sumY += blobs_[b].sumY;
        }
        std::vector<TracePoint> points;
        for (std::size_t b = 0; b < blobs_.size(); ++b) {
            const Blob& blob = blobs_[b];
            if (blob.parent == static_cast<int>(b))
                points.push_back({blob.sumX / blob.weight, blob.sumY / blob.weight});
        }
        const bool onX = s_.axis == TraceAxis::X;
        std::sort(points.begin(), points.end(), [onX](const TracePoint& p, const TracePoint& q) {
            return onX ? std::pair(p.x, p.y) < std::pair(q.x, q.y) : std::pair(p.y, p.x) < std::pair(q.y, q.x);
        });
        result.count = static_cast<std::int64_t>(points.size());
        if (result.count <= s_.keep && !result.countIsLowerBound)
            result.points = std::move(points);
    }

    const QImage& pixels_;
    const TraceSettings& s_;
    const QRect region_;
    const int limit_;
    std::vector<Blob> blobs_;
};

} // namespace

TraceResult TraceCurve(const QImage& picture, const TraceSettings& settings)
{
    const QRect region = settings.region & picture.rect();
    if (region.isEmpty())
        return {};
    const QImage pixels = ShownPicture(picture, settings.backdrop);
    if (settings.shape == TraceShape::Markers)
        return MarkerFinder(pixels, settings, region).run();
    return CurveTracer(pixels, settings, region).run();
}

} // namespace tracella
