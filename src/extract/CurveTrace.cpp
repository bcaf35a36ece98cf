#include "extract/CurveTrace.h"

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

// The sampled lines (columns or rows) and which samples read each of them.
struct SampledLines {
    std::vector<int> lines;
    std::vector<std::vector<double>> samples; // per line, ascending
};

SampledLines LinesOf(const std::vector<double>& samples, int first, int end)
{
    SampledLines sampled;
    for (const double s : samples) {
        if (!(s >= first && s < end))
            continue;
        const int line = static_cast<int>(std::floor(s));
        if (sampled.lines.empty() || sampled.lines.back() != line) {
            sampled.lines.push_back(line);
            sampled.samples.emplace_back();
        }
        sampled.samples.back().push_back(s);
    }
    return sampled;
}

// Collects points until there are more than the caller keeps, then only counts.
class PointCount {
public:
    explicit PointCount(std::int64_t keep) : keep_(keep) {}
    // Whether points are still worth keeping after n more.
    bool take(std::int64_t n)
    {
        count_ += n;
        return count_ <= keep_;
    }
    std::int64_t count() const { return count_; }
    bool kept() const { return count_ <= keep_; }

private:
    std::int64_t keep_;
    std::int64_t count_ = 0;
};

class CurveTracer {
public:
    CurveTracer(const QImage& pixels, const TraceSettings& settings, const QRect& region)
        : pixels_(pixels), s_(settings), region_(region), limit_(settings.tolerance * settings.tolerance),
          count_(settings.keep)
    {
    }

    TraceResult run()
    {
        if (s_.axis == TraceAxis::X)
            traceColumns();
        else
            traceRows();
        TraceResult result;
        result.count = count_.count();
        if (count_.kept())
            result.points = std::move(points_);
        return result;
    }

private:
    // Row after row along the picture's memory, each sampled column keeping its open run.
    void traceColumns()
    {
        const SampledLines sampled = LinesOf(s_.samples, region_.left(), region_.left() + region_.width());
        const auto n = static_cast<int>(sampled.lines.size());
        if (n == 0)
            return;
        const bool contiguous = sampled.lines.back() - sampled.lines.front() + 1 == n;
        const auto padded = static_cast<std::size_t>((n + 7) / 8 * 8);
        std::vector<std::uint32_t> gathered(static_cast<std::size_t>(n));
        std::vector<std::uint8_t> match(padded, 0);
        std::vector<std::uint8_t> open(padded, 0);
        std::vector<RunSum> runs(static_cast<std::size_t>(n));
        std::vector<std::vector<double>> centres(static_cast<std::size_t>(n));

        auto close = [&](std::size_t k) {
            if (count_.take(static_cast<std::int64_t>(sampled.samples[k].size())))
                centres[k].push_back(runs[k].centre());
            runs[k].open = false;
            open[k] = 0;
        };
        for (int row = region_.top(); row <= region_.bottom(); ++row) {
            const std::uint32_t* line = PixelRow(pixels_, row);
            const std::uint32_t* source = line + sampled.lines.front();
            if (!contiguous) {
                for (int k = 0; k < n; ++k)
                    gathered[static_cast<std::size_t>(k)] = line[sampled.lines[static_cast<std::size_t>(k)]];
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
        if (!count_.kept())
            return;
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
            for (const double x : sampled.samples[k])
                for (const double y : centres[k])
                    points_.push_back({x, y});
    }

    // Each sampled row on its own: it lies along the picture's memory already.
    void traceRows()
    {
        const SampledLines sampled = LinesOf(s_.samples, region_.top(), region_.top() + region_.height());
        std::vector<std::uint8_t> match(static_cast<std::size_t>(region_.width()));
        std::vector<double> centres;
        for (std::size_t k = 0; k < sampled.lines.size(); ++k) {
            const std::uint32_t* source = PixelRow(pixels_, sampled.lines[k]) + region_.left();
            MatchLine(source, region_.width(), s_.colour, limit_, match.data());
            centres.clear();
            RunSum run;
            const auto perRun = static_cast<std::int64_t>(sampled.samples[k].size());
            auto close = [&] {
                if (count_.take(perRun))
                    centres.push_back(run.centre() + region_.left());
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
            if (count_.kept())
                for (const double y : sampled.samples[k])
                    for (const double x : centres)
                        points_.push_back({x, y});
        }
    }

    const QImage& pixels_;
    const TraceSettings& s_;
    const QRect region_;
    const int limit_;
    PointCount count_;
    std::vector<TracePoint> points_;
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

QImage TracePixels(const QImage& picture)
{
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

TraceResult TraceCurve(const QImage& picture, const TraceSettings& settings)
{
    const QRect region = settings.region & picture.rect();
    if (region.isEmpty())
        return {};
    const QImage pixels = TracePixels(picture);
    if (settings.shape == TraceShape::Markers)
        return MarkerFinder(pixels, settings, region).run();
    return CurveTracer(pixels, settings, region).run();
}

} // namespace tracella
