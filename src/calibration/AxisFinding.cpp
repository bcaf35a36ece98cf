#include "calibration/AxisFinding.h"

#include "picture/CancelToken.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace tracella {
namespace {

constexpr double MaxTurn = 0.0355; // a little over tan 2°
constexpr float InkLevel = 0.35f;  // a half-covered pixel of a thin black line still counts
constexpr float PaperLevel = 0.2f; // JPEG noise and light grid lines weigh nothing

bool Cancelled(CancelToken* cancel) { return cancel && cancel->isCancelled(); }

// The picture's darkness, 0 paper to 1 ink, read along or across: across
// swaps x and y, so that one search finds the level and the upright axis.
class Darkness {
public:
    explicit Darkness(const QImage& picture)
        : image_(picture.format() == QImage::Format_Grayscale8 || picture.format() == QImage::Format_RGB32
                         || picture.format() == QImage::Format_ARGB32_Premultiplied
                     ? picture
                     : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)),
          grey_(image_.format() == QImage::Format_Grayscale8)
    {
    }
    float at(int x, int y, bool across) const
    {
        if (across)
            std::swap(x, y);
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return 0;
        const uchar* line = image_.constScanLine(y);
        if (grey_)
            return 1.0f - line[x] / 255.0f;
        // Over white paper, as the picture is shown.
        const QRgb p = reinterpret_cast<const QRgb*>(line)[x];
        return std::max(0, qAlpha(p) - qGray(p)) / 255.0f;
    }
    // at() for n pixels of row y from x0, all on the picture.
    void row(int y, int x0, int n, float* out) const
    {
        static const std::array<float, 256> level = [] {
            std::array<float, 256> l{};
            for (int i = 0; i < 256; ++i)
                l[std::size_t(i)] = i / 255.0f;
            return l;
        }();
        const uchar* line = image_.constScanLine(y);
        if (grey_) {
            for (int i = 0; i < n; ++i)
                out[i] = 1.0f - level[line[x0 + i]];
            return;
        }
        const QRgb* pixels = reinterpret_cast<const QRgb*>(line) + x0;
        for (int i = 0; i < n; ++i)
            out[i] = level[std::size_t(std::max(0, qAlpha(pixels[i]) - qGray(pixels[i])))];
    }

private:
    QImage image_;
    bool grey_;
};

// The searched copy, u along the sought line, v across it.
struct Grid {
    int w = 0, h = 0;
    std::vector<float> d;
    float at(int u, int v) const { return u < 0 || v < 0 || u >= w || v >= h ? 0.f : d[std::size_t(v) * w + u]; }
    bool ink(int u, int v) const { return at(u, v) > InkLevel; }
};

// Each cell keeps its darkest pixel, so thin lines survive the reduction.
std::optional<Grid> Reduce(const Darkness& dark, QRect region, int k, CancelToken* cancel)
{
    Grid g{(region.width() + k - 1) / k, (region.height() + k - 1) / k, {}};
    g.d.assign(std::size_t(g.w) * g.h, 0.f);
    std::vector<float> line(std::size_t(region.width()));
    for (int y = 0; y < region.height(); ++y) {
        if (y % 256 == 0 && Cancelled(cancel))
            return std::nullopt;
        dark.row(region.y() + y, region.x(), region.width(), line.data());
        float* row = &g.d[std::size_t(y / k) * g.w];
        for (int x = 0, cell = 0; x < region.width(); cell++)
            for (const int end = std::min(x + k, region.width()); x < end; ++x)
                row[cell] = std::max(row[cell], line[std::size_t(x)]);
    }
    return g;
}

Grid Transposed(const Grid& g)
{
    Grid t{g.h, g.w, std::vector<float>(g.d.size())};
    for (int v = 0; v < g.h; ++v)
        for (int u = 0; u < g.w; ++u)
            t.d[std::size_t(u) * t.w + v] = g.d[std::size_t(v) * g.w + u];
    return t;
}

// v = v0 + slope·(u − mid), drawn from u = from to u = to.
struct Line {
    double mid = 0, v0 = 0, slope = 0;
    double from = 0, to = 0;
    double at(double u) const { return v0 + slope * (u - mid); }
};

// The longest stretch of ink along the line, over gaps of a pixel or two.
std::pair<int, int> Stretch(const Grid& g, const Line& l)
{
    int bestFrom = 0, bestTo = -1, start = -1, last = -10;
    for (int u = 0; u < g.w; ++u) {
        const int v = int(std::lround(l.at(u)));
        if (!g.ink(u, v) && !g.ink(u, v - 1) && !g.ink(u, v + 1))
            continue;
        if (u - last > 3)
            start = u;
        last = u;
        if (last - start > bestTo - bestFrom)
            bestFrom = start, bestTo = last;
    }
    return {bestFrom, bestTo};
}

// Long straight lines within 2° of level, strongest first (a Hough
// transform over the few slopes that can occur).
std::vector<Line> LongLines(const Grid& g, CancelToken* cancel)
{
    const int reach = int(std::ceil(MaxTurn * g.w)) + 1;
    const int slopes = 2 * reach + 1, bins = g.h + 2 * reach + 1;
    const double mid = g.w / 2.0;
    std::vector<int> votes(std::size_t(slopes) * bins, 0);
    for (int v = 0; v < g.h; ++v) {
        if (v % 64 == 0 && Cancelled(cancel))
            return {};
        for (int u = 0; u < g.w; ++u) {
            if (!g.ink(u, v))
                continue;
            for (int i = 0; i < slopes; ++i) {
                const double s = double(i - reach) / g.w;
                votes[std::size_t(i) * bins + std::size_t(std::lround(v - s * (u - mid)) + reach)]++;
            }
        }
    }
    const int shortest = std::max(8, g.w / 4);
    std::vector<Line> lines;
    for (int round = 0; round < 24; ++round) {
        const auto best = std::max_element(votes.begin(), votes.end());
        if (*best < shortest)
            break;
        const auto index = std::size_t(best - votes.begin());
        const int slope = int(index / bins), bin = int(index % bins);
        Line l{mid, double(bin - reach), double(slope - reach) / g.w, 0, 0};
        const auto [from, to] = Stretch(g, l);
        if (to - from + 1 >= shortest) {
            l.from = from, l.to = to;
            lines.push_back(l);
        }
        for (int i = 0; i < slopes; ++i)
            for (int b = std::max(0, bin - 3); b <= std::min(bins - 1, bin + 3); ++b)
                votes[std::size_t(i) * bins + b] = 0;
    }
    return lines;
}

// How far ink runs up (−v) and down (+v) from the line's middle at u,
// square to the line, so that a turned crossing line is followed to its end.
struct Reach {
    int up = 0, down = 0;
    bool onLine = false;
};

Reach ReachAt(const Grid& g, const Line& l, int u)
{
    int v = int(std::lround(l.at(u)));
    if (!g.ink(u, v)) {
        if (g.ink(u, v - 1))
            --v;
        else if (g.ink(u, v + 1))
            ++v;
        else
            return {};
    }
    auto inkAt = [&](int d) {
        const double across = u - l.slope * d;
        return g.ink(int(std::floor(across)), v + d) || g.ink(int(std::ceil(across)), v + d);
    };
    Reach r{0, 0, true};
    while (inkAt(-r.up - 1))
        ++r.up;
    while (inkAt(r.down + 1))
        ++r.down;
    return r;
}

int Median(std::vector<int> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

struct CoarseTick {
    double u = 0;
    int up = 0, down = 0; // beyond the line's own edge; 0 where there is none
};

struct Candidate {
    Line line;
    int thick = 1, upEdge = 0, downEdge = 0; // the line's own ink about its middle
    int widest = 1;                          // a tick any wider is something else
    std::vector<CoarseTick> ticks;
    int outward = 1; // towards the labels: +1 down, −1 up
    long labelInk = 0; // beyond the ticks' ends
};

// Short marks across the line: ink that sticks out from its edge by a few
// pixels, no wider than a thick line, no longer than a tick can be (the
// other axis and curves crossing it run on).
void FindTicks(const Grid& g, int k, Candidate& c)
{
    const int from = int(std::ceil(c.line.from)), to = int(std::floor(c.line.to));
    std::vector<Reach> reach;
    std::vector<int> ups, downs;
    for (int u = from; u <= to; ++u) {
        reach.push_back(ReachAt(g, c.line, u));
        if (reach.back().onLine)
            ups.push_back(reach.back().up), downs.push_back(reach.back().down);
    }
    c.upEdge = Median(ups), c.downEdge = Median(downs);
    c.thick = c.upEdge + c.downEdge + 1;
    c.widest = c.thick + 3;
    // A turned line's stairs stand out by one.
    const int shortest = std::max(2, int(std::lround(3.0 / k)));
    const int longest = std::max(8, (to - from) / 12);
    auto out = [&](const Reach& r) { return std::pair{r.up - c.upEdge, r.down - c.downEdge}; };
    for (std::size_t i = 0; i < reach.size();) {
        auto sticks = [&](std::size_t j) {
            const auto [up, down] = out(reach[j]);
            return reach[j].onLine && (up >= shortest || down >= shortest);
        };
        if (!sticks(i)) {
            ++i;
            continue;
        }
        std::size_t j = i;
        CoarseTick t;
        while (j < reach.size() && sticks(j)) {
            const auto [up, down] = out(reach[j]);
            t.up = std::max(t.up, up), t.down = std::max(t.down, down);
            ++j;
        }
        if (int(j - i) <= c.widest && t.up <= longest && t.down <= longest) {
            t.u = from + (i + j - 1) / 2.0;
            t.up = t.up >= shortest ? t.up : 0;
            t.down = t.down >= shortest ? t.down : 0;
            c.ticks.push_back(t);
        }
        i = j;
    }
}

// Labels stand beyond the ticks on the side facing the nearer border.
void LookForLabels(const Grid& g, Candidate& c)
{
    c.outward = c.line.at(c.line.mid) > g.h / 2.0 ? 1 : -1;
    int tickLength = 0;
    for (const CoarseTick& t : c.ticks)
        tickLength = std::max(tickLength, c.outward > 0 ? t.down : t.up);
    const int first = (c.outward > 0 ? c.downEdge : c.upEdge) + tickLength + 2;
    const int depth = std::max(6, g.h / 12);
    for (int u = int(c.line.from); u <= int(c.line.to); ++u)
        for (int d = first; d < first + depth; ++d)
            c.labelInk += g.ink(u, int(std::lround(c.line.at(u))) + c.outward * d);
}

// Of the long lines with ticks, the one with clearly the most labels,
// else the one on the preferred side (bottom, or left when read across).
std::optional<Candidate> ChooseAxis(const Grid& g, int k, bool across, CancelToken* cancel)
{
    const std::vector<Line> lines = LongLines(g, cancel);
    double longest = 0;
    for (const Line& l : lines)
        longest = std::max(longest, l.to - l.from);
    std::optional<Candidate> best;
    for (const Line& l : lines) {
        if (l.to - l.from < 0.5 * longest || Cancelled(cancel))
            continue;
        Candidate c;
        c.line = l;
        FindTicks(g, k, c);
        if (c.ticks.size() < 2)
            continue;
        LookForLabels(g, c);
        const double v = l.at(l.mid), bestV = best ? best->line.at(best->line.mid) : 0;
        auto clearlyMore = [](long a, long b) { return a > 2 * b + 20; };
        if (!best || clearlyMore(c.labelInk, best->labelInk)
            || (!clearlyMore(best->labelInk, c.labelInk) && (across ? v < bestV : v > bestV)))
            best = c;
    }
    return best;
}

// Where the search copy's cells lie on the picture, read along or across.
struct Frame {
    const Darkness& dark;
    bool across;
    int k, u0, v0;
    float at(int u, int v) const { return dark.at(u, v, across); }
    double fullU(double u) const { return u0 + u * k + (k - 1) / 2.0; }
    double fullV(double v) const { return v0 + v * k + (k - 1) / 2.0; }
    QPointF picture(double u, double v) const { return across ? QPointF(v, u) : QPointF(u, v); }
};

double Weight(float darkness) { return std::max(0.f, darkness - PaperLevel); }

// The line's middle measured across it at many places between the ticks,
// then fitted; places where anything else touches the line are left out.
std::optional<std::pair<Line, double>> MeasureLine(const Frame& f, const Candidate& c)
{
    Line coarse{f.fullU(c.line.mid), f.fullV(c.line.at(c.line.mid)), c.line.slope, f.fullU(c.line.from),
                f.fullU(c.line.to)};
    const int reach = (c.thick + 1) * f.k + 3;
    const double keepOff = (c.widest + 2) * f.k;
    std::vector<double> us, vs, masses;
    const double first = coarse.from + 2 * f.k, last = coarse.to - 2 * f.k;
    const int samples = int(std::min(300.0, last - first));
    for (int i = 0; i <= samples; ++i) {
        const int u = int(std::lround(first + (last - first) * i / std::max(samples, 1)));
        if (std::any_of(c.ticks.begin(), c.ticks.end(),
                        [&](const CoarseTick& t) { return std::abs(f.fullU(t.u) - u) < keepOff; }))
            continue;
        const int middle = int(std::lround(coarse.at(u)));
        if (Weight(f.at(u, middle - reach)) > 0 || Weight(f.at(u, middle + reach)) > 0)
            continue;
        double mass = 0, moment = 0;
        for (int v = middle - reach; v <= middle + reach; ++v) {
            const double w = Weight(f.at(u, v));
            mass += w, moment += w * v;
        }
        // As much as one pixel at the ink level: a thin grey axis still counts.
        if (mass >= InkLevel - PaperLevel)
            us.push_back(u), vs.push_back(moment / mass), masses.push_back(mass);
    }
    // Least squares, then again without the places that stray.
    Line fitted = coarse;
    std::vector<bool> use(us.size(), true);
    for (int pass = 0; pass < 3; ++pass) {
        double n = 0, su = 0, sv = 0, suu = 0, suv = 0;
        for (std::size_t i = 0; i < us.size(); ++i)
            if (use[i]) {
                const double u = us[i] - coarse.mid;
                n += 1, su += u, sv += vs[i], suu += u * u, suv += u * vs[i];
            }
        const double det = n * suu - su * su;
        if (n < 3 || det <= 0)
            return std::nullopt;
        fitted.slope = (n * suv - su * sv) / det;
        fitted.v0 = (sv - fitted.slope * su) / n;
        for (std::size_t i = 0; i < us.size(); ++i)
            use[i] = std::abs(vs[i] - fitted.at(us[i])) < (pass == 0 ? 1.5 : 0.5);
    }
    std::nth_element(masses.begin(), masses.begin() + masses.size() / 2, masses.end());
    const double half = masses[masses.size() / 2] / (1 - PaperLevel) / 2;
    return std::pair{fitted, half};
}

// A tick's position along the line: the ink-weighted middle of the mark
// beyond the line's edge, each pixel taken back to the line along the
// tick, which stands square to the line even on a turned picture.
double MeasureTick(const Frame& f, const Line& line, double half, const CoarseTick& t, double reach)
{
    const double centre = f.fullU(t.u);
    double mass = 0, moment = 0;
    for (const int side : {-1, 1}) {
        const int length = side < 0 ? t.up : t.down;
        if (length == 0)
            continue;
        const double near = half + 1, far = half + std::max(2, length * f.k - 1);
        for (int u = int(std::ceil(centre - reach)); u <= int(std::floor(centre + reach)); ++u) {
            const double middle = line.at(u);
            for (int v = int(std::floor(middle - far)); v <= int(std::ceil(middle + far)); ++v) {
                const double across = v - middle;
                if (side * across < near || side * across > far)
                    continue;
                const double w = Weight(f.at(u, v));
                mass += w, moment += w * (u + line.slope * across);
            }
        }
    }
    return mass > 0 ? moment / mass : centre;
}

// How far the tick at u reaches outwards, walked on the picture itself
// from the line's middle (the reduced copy knows it only to a cell), no
// further than `limit`.
double OuterEnd(const Frame& f, const Line& line, double u, int outward, double half, double limit)
{
    double end = half;
    for (double d = std::ceil(half); d <= limit; d += 1) {
        const double across = outward * d, along = u - line.slope * across;
        const int x = int(std::lround(along)), y = int(std::lround(line.at(along) + across));
        if (f.at(x - 1, y) <= InkLevel && f.at(x, y) <= InkLevel && f.at(x + 1, y) <= InkLevel)
            break;
        end = d;
    }
    return end + 0.5;
}

FoundAxis Measure(const Frame& f, const Candidate& c)
{
    FoundAxis axis;
    const auto measured = MeasureLine(f, c);
    if (!measured)
        return axis;
    const auto& [line, half] = *measured;
    axis.found = true;
    const double norm = std::hypot(1.0, line.slope);
    axis.outward = f.picture(-line.slope * c.outward / norm, c.outward / norm);
    axis.from = f.picture(line.from, line.at(line.from));
    axis.to = f.picture(line.to, line.at(line.to));
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
        const CoarseTick& t = c.ticks[i];
        // Never as far as the neighbours' ink.
        double reach = (c.widest / 2.0 + 1) * f.k + 2;
        if (i > 0)
            reach = std::min(reach, (t.u - c.ticks[i - 1].u) * f.k / 2 - 1);
        if (i + 1 < c.ticks.size())
            reach = std::min(reach, (c.ticks[i + 1].u - t.u) * f.k / 2 - 1);
        const double u = MeasureTick(f, line, half, t, reach);
        const bool down = t.down > 0, up = t.up > 0;
        const int outer = c.outward > 0 ? t.down : t.up;
        const double end = f.k > 1 && outer > 0 ? OuterEnd(f, line, u, c.outward, half, half + (outer + 2) * f.k)
                                                : half + outer * f.k;
        axis.ticks.push_back({f.picture(u, line.at(u)), c.outward > 0 ? up : down, c.outward > 0 ? down : up, end});
    }
    return axis;
}

} // namespace

AxisFindings FindAxes(const QImage& picture, QRect region, CancelToken* cancel, int searchSide)
{
    AxisFindings found;
    region = region.isEmpty() ? picture.rect() : region.intersected(picture.rect());
    if (region.isEmpty())
        return found;
    const Darkness dark(picture);
    const int k = std::max(1, (std::max(region.width(), region.height()) + searchSide - 1) / searchSide);
    const std::optional<Grid> level = Reduce(dark, region, k, cancel);
    if (!level) {
        found.cancelled = true;
        return found;
    }
    const Grid upright = Transposed(*level);
    for (const bool across : {false, true}) {
        const std::optional<Candidate> axis = ChooseAxis(across ? upright : *level, k, across, cancel);
        if (Cancelled(cancel))
            return {{}, {}, true};
        if (axis) {
            const Frame f{dark, across, k, across ? region.y() : region.x(), across ? region.x() : region.y()};
            (across ? found.y : found.x) = Measure(f, *axis);
        }
    }
    return found;
}

} // namespace tracella
