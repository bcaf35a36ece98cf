// Draws the example graphs and writes, next to each picture, the true values of its data points
// and the pixel positions of its axis ticks, so that digitising can be checked against them.
// Usage: make_examples <examples-folder>
// Every run writes the same files.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
const QColor CurveColour(250, 0, 0);
const QColor GridColour(220, 220, 220);

// One axis: a straight line between pixel p0 and pixel p1 in the axis' own units, which are
// base-10 logarithms of the values on a logarithmic axis.
struct Axis {
    double value0;
    double value1;
    int pixel0;
    int pixel1;
    bool log;

    double unit(double value) const { return log ? std::log10(value) : value; }
    double pixel(double value) const
    {
        return pixel0 + (unit(value) - value0) * (pixel1 - pixel0) / (value1 - value0);
    }
    double value(double pixel) const
    {
        const double u = value0 + (pixel - pixel0) * (value1 - value0) / (pixel1 - pixel0);
        return log ? std::pow(10.0, u) : u;
    }
};

struct Tick {
    double value;
    QString label;
};

struct Graph {
    QString name;
    QString title;
    Axis x;
    Axis y;
    std::function<double(double)> curve;
    std::vector<double> pointXs;
    std::vector<Tick> xTicks;
    std::vector<Tick> yTicks;
    std::vector<double> yMinorTicks;
};

struct DataPoint {
    double x;
    double y;
    int px;
    int py;
};

QString Number(double v) { return QString::number(v, 'g', 12); }

// Integer pixel rows and columns; the value of a pixel is the axis line evaluated at its index.
std::vector<DataPoint> PlacePoints(const Graph& g)
{
    std::vector<DataPoint> points;
    for (const double x : g.pointXs) {
        const double column = g.x.pixel(x);
        const int px = static_cast<int>(std::lround(column));
        if (std::abs(column - px) > 1e-9)
            std::fprintf(stderr, "%s: x = %g does not fall on a pixel column\n", qPrintable(g.name), x);
        const int py = static_cast<int>(std::lround(g.y.pixel(g.curve(x))));
        points.push_back({x, g.y.value(py), px, py});
    }
    return points;
}

void Stamp(QImage& image, int cx, int cy, int radius, QRgb colour)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius + radius && image.valid(cx + dx, cy + dy))
                image.setPixel(cx + dx, cy + dy, colour);
}

// Drawn pixel by pixel so that every curve pixel has exactly the curve colour and the curve
// passes through the pixel of each data point.
void DrawCurve(QImage& image, const Graph& g, const std::vector<DataPoint>& points)
{
    const QRgb colour = CurveColour.rgb();
    const int first = points.front().px;
    const int last = points.back().px;
    for (int step = first * 10; step <= last * 10; ++step) {
        const double column = step / 10.0;
        const double row = g.y.pixel(g.curve(g.x.value(column)));
        Stamp(image, static_cast<int>(std::lround(column)), static_cast<int>(std::lround(row)), 1, colour);
    }
    for (const DataPoint& p : points)
        Stamp(image, p.px, p.py, 3, colour);
}

int TickPixel(const Axis& axis, double value) { return static_cast<int>(std::lround(axis.pixel(value))); }

void DrawAxes(QPainter& p, const Graph& g)
{
    const int left = g.x.pixel0;
    const int right = g.x.pixel1;
    const int bottom = g.y.pixel0;
    const int top = g.y.pixel1;

    for (const Tick& t : g.xTicks)
        p.fillRect(QRect(TickPixel(g.x, t.value), top, 1, bottom - top), GridColour);
    for (const Tick& t : g.yTicks)
        p.fillRect(QRect(left, TickPixel(g.y, t.value), right - left + 1, 1), GridColour);

    p.fillRect(QRect(left, top, 1, bottom - top + 1), Qt::black);
    p.fillRect(QRect(left, bottom, right - left + 1, 1), Qt::black);

    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics metrics(font);
    for (const Tick& t : g.xTicks) {
        const int px = TickPixel(g.x, t.value);
        p.fillRect(QRect(px, bottom + 1, 1, 6), Qt::black);
        p.drawText(QRect(px - 30, bottom + 9, 61, metrics.height()), Qt::AlignHCenter | Qt::AlignTop, t.label);
    }
    for (const Tick& t : g.yTicks) {
        const int py = TickPixel(g.y, t.value);
        p.fillRect(QRect(left - 6, py, 6, 1), Qt::black);
        p.drawText(QRect(left - 70, py - metrics.height() / 2, 60, metrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
    for (const double v : g.yMinorTicks)
        p.fillRect(QRect(left - 3, TickPixel(g.y, v), 3, 1), Qt::black);

    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(QRect(left, 15, right - left, 30), Qt::AlignCenter, g.title);
    p.drawText(QRect(left, bottom + 30, right - left, 25), Qt::AlignCenter, "x");
    p.drawText(QRect(20, top - 40, left - 30, 25), Qt::AlignRight | Qt::AlignVCenter, "y");
}

bool WriteText(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    QTextStream out(&file);
    for (const QString& line : lines)
        out << line << '\n';
    return true;
}

QString AxisKind(const Axis& a) { return a.log ? "log" : "linear"; }

bool WriteGraph(const QDir& folder, const Graph& g)
{
    const std::vector<DataPoint> points = PlacePoints(g);
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawAxes(p, g);
    }
    DrawCurve(image, g, points);

    QStringList pointLines = {
        "# Data points of " + g.name + ".png, in drawing order: true X and Y values, then the pixel",
        "# (column px, row py, counted from 0 at the top-left corner) at whose centre the point is drawn.",
        "# Digitising that pixel after scaling with the ref lines of " + g.name + ".ticks.txt gives these values.",
        "# x y px py",
    };
    for (const DataPoint& p : points)
        pointLines << QString("%1 %2 %3 %4").arg(Number(p.x), Number(p.y)).arg(p.px).arg(p.py);

    QStringList tickLines = {
        "# Axis ticks of " + g.name + ".png. Pixels are (column px, row py), counted from 0 at the top-left corner.",
        "# axes <x kind> <y kind>: linear, or log for a base-10 logarithmic axis",
        "# xtick value px py: a labelled tick of the X axis, at the pixel where it meets the axis line",
        "# ytick value px py: a labelled tick of the Y axis, at the pixel where it meets the axis line",
        "# ref x y px py: a point of known X and Y (opposite corners of the plotting area), for scaling",
        "# Values are data values, also on a logarithmic axis.",
        "axes " + AxisKind(g.x) + " " + AxisKind(g.y),
    };
    for (const Tick& t : g.xTicks)
        tickLines << QString("xtick %1 %2 %3").arg(Number(t.value)).arg(TickPixel(g.x, t.value)).arg(g.y.pixel0);
    for (const Tick& t : g.yTicks)
        tickLines << QString("ytick %1 %2 %3").arg(Number(t.value)).arg(g.x.pixel0).arg(TickPixel(g.y, t.value));
    const auto value = [](const Axis& a, int pixel) { return Number(a.value(pixel)); };
    tickLines << QString("ref %1 %2 %3 %4").arg(value(g.x, g.x.pixel0), value(g.y, g.y.pixel0)).arg(g.x.pixel0)
                     .arg(g.y.pixel0)
              << QString("ref %1 %2 %3 %4").arg(value(g.x, g.x.pixel1), value(g.y, g.y.pixel1)).arg(g.x.pixel1)
                     .arg(g.y.pixel1);

    bool ok = image.save(folder.filePath(g.name + ".png"), "PNG");
    if (!ok)
        std::fprintf(stderr, "cannot write %s.png\n", qPrintable(g.name));
    ok = WriteText(folder.filePath(g.name + ".points.txt"), pointLines) && ok;
    ok = WriteText(folder.filePath(g.name + ".ticks.txt"), tickLines) && ok;
    return ok;
}

std::vector<double> HalfSteps(double from, double to)
{
    std::vector<double> xs;
    for (int i = 0; from + i * 0.5 <= to; ++i)
        xs.push_back(from + i * 0.5);
    return xs;
}

std::vector<Tick> LinearTicks(double from, double to, double step)
{
    std::vector<Tick> ticks;
    for (int i = 0; from + i * step <= to; ++i)
        ticks.push_back({from + i * step, QString::number(from + i * step)});
    return ticks;
}

// Both graphs share the plotting area from column 100 to 700 and from row 540 up to row 60.
Graph LinearGraph()
{
    return {"linear-graph",
            "y = 20 + 60 sin(x / 2)",
            {0, 10, 100, 700, false},
            {-60, 100, 540, 60, false},
            [](double x) { return 20 + 60 * std::sin(x / 2); },
            HalfSteps(0, 10),
            LinearTicks(0, 10, 1),
            LinearTicks(-60, 100, 20),
            {}};
}

Graph LogGraph()
{
    std::vector<Tick> decades;
    std::vector<double> minor;
    for (int e = 0; e <= 4; ++e) {
        decades.push_back({std::pow(10.0, e), QString::number(std::pow(10.0, e), 'f', 0)});
        for (int m = 2; e < 4 && m <= 9; ++m)
            minor.push_back(m * std::pow(10.0, e));
    }
    return {"log-graph",
            QString::fromUtf8("y = 2 + 2 x\u00b3"),
            {0, 10, 100, 700, false},
            {0, 4, 540, 60, true},
            [](double x) { return 2 + 2 * x * x * x; },
            HalfSteps(0, 10),
            LinearTicks(0, 10, 1),
            decades,
            minor};
}

} // namespace

int main(int argc, char** argv)
{
    // Text needs a platform for its fonts; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples <examples-folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = WriteGraph(folder, LinearGraph());
    ok = WriteGraph(folder, LogGraph()) && ok;
    return ok ? 0 : 1;
}
