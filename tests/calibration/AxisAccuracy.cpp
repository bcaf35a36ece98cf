#include "AxisAccuracy.h"

#include "calibration/LabelOcr.h"

#include <cmath>
#include <random>

namespace tracella::plots {
namespace {

bool Near(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()) <= 0.5; }

bool Same(double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b)); }

// The true tick a reference stands on and says the value of, if any.
std::optional<std::size_t> TickOf(QPointF pixel, double value, const std::vector<QPointF>& ticks,
                                  const std::vector<double>& values)
{
    for (std::size_t i = 0; i < ticks.size() && i < values.size(); ++i)
        if (Near(pixel, ticks[i]) && Same(value, values[i]))
            return i;
    return std::nullopt;
}

// One style: how many figures, and what each varies.
struct Kind {
    const char* name;
    int figures;
    void (*vary)(Style&, std::mt19937&);
};

template <class T, std::size_t N> T Pick(const T (&from)[N], std::mt19937& r)
{
    return from[std::uniform_int_distribution<std::size_t>(0, N - 1)(r)];
}

double Between(double low, double high, std::mt19937& r) { return std::uniform_real_distribution(low, high)(r); }

constexpr const char* Families[] = {"DejaVu Sans", "DejaVu Serif", "Nimbus Sans", "Nimbus Roman",
                                    "DejaVu Sans Mono", "URW Gothic"};
constexpr Numbers LinearX[] = {Numbers::Multiples, Numbers::Negative, Numbers::Thousands, Numbers::DecimalComma};
constexpr Numbers LinearY[] = {Numbers::NegativeThousandths, Numbers::Multiples, Numbers::Negative,
                               Numbers::Scientific};

// What every figure varies: the font, its size, the picture's size and
// the label forms of a linear plot.
void Common(Style& s, std::mt19937& r)
{
    const int width = int(Between(700, 1400, r));
    s.size = QSize(width, int(width * Between(0.65, 0.8, r)));
    s.family = Pick(Families, r);
    s.letters = Between(11, 17, r);
    s.xNumbers = Pick(LinearX, r);
    s.yNumbers = Pick(LinearY, r);
}

constexpr Kind Kinds[] = {
    {"plain", 6, [](Style&, std::mt19937&) {}},
    {"boxed", 4, [](Style& s, std::mt19937& r) { s.box = true, s.xOnTop = r() % 2; }},
    {"grid", 4, [](Style& s, std::mt19937&) { s.grid = true; }},
    {"ticks in", 3, [](Style& s, std::mt19937&) { s.ticksIn = true, s.ticksOut = false; }},
    {"ticks across", 3, [](Style& s, std::mt19937&) { s.ticksIn = true; }},
    {"log", 4,
     [](Style& s, std::mt19937& r) {
         s.yNumbers = Numbers::Log;
         s.xNumbers = r() % 2 ? Numbers::Log : s.xNumbers;
     }},
    {"log 1e-2", 3, [](Style& s, std::mt19937&) { s.yNumbers = Numbers::LogE; }},
    {"log 10 raised", 3, [](Style& s, std::mt19937&) { s.yNumbers = Numbers::LogPower; }},
    {"negative", 4, [](Style& s, std::mt19937&) { s.xNumbers = s.yNumbers = Numbers::Negative; }},
    {"scientific", 3, [](Style& s, std::mt19937&) { s.yNumbers = Numbers::Scientific; }},
    {"decimal comma", 3, [](Style& s, std::mt19937&) { s.xNumbers = s.yNumbers = Numbers::DecimalComma; }},
    {"thousands", 3, [](Style& s, std::mt19937&) { s.xNumbers = s.yNumbers = Numbers::Thousands; }},
    {"turned 1-2°", 5,
     [](Style& s, std::mt19937& r) {
         s.turn = Between(1, 2, r);
         s.turn *= r() % 2 ? 1 : -1;
     }},
    {"JPEG q60-80", 5,
     [](Style& s, std::mt19937& r) {
         s.jpeg = true, s.jpegQuality = int(Between(60, 81, r)), s.grid = r() % 2;
         s.turn = r() % 2 ? Between(-2, 2, r) : 0;
     }},
    {"large 3000+ px", 3,
     [](Style& s, std::mt19937& r) {
         const int width = int(Between(3000, 3600, r));
         s.size = QSize(width, width * 3 / 4);
     }},
    {"Y labels turned", 3, [](Style& s, std::mt19937&) { s.yLabelsTurned = true; }},
    {"dates", 3, [](Style& s, std::mt19937&) { s.xNumbers = Numbers::Dates; }},
};

} // namespace

Outcome Judge(const AxisProposalSide& side, const std::vector<QPointF>& ticks, const std::vector<double>& values,
              bool log, bool date)
{
    if (!side.kind)
        return Outcome::Left;
    if (*side.kind != (date ? AxisKind::Date : log ? AxisKind::Log : AxisKind::Linear))
        return Outcome::Wrong;
    const auto first = TickOf(side.first, side.firstValue, ticks, values);
    const auto second = TickOf(side.second, side.secondValue, ticks, values);
    return first && second && *first != *second ? Outcome::Correct : Outcome::Wrong;
}

std::vector<Style> AccuracyFigures(unsigned draw)
{
    std::vector<Style> figures;
    for (std::size_t k = 0; k < std::size(Kinds); ++k)
        for (int i = 0; i < Kinds[k].figures; ++i) {
            std::mt19937 random(unsigned(100 * k + i) + 10000 * draw);
            Style s{Kinds[k].name, {}};
            s.labels = true;
            Common(s, random);
            Kinds[k].vary(s, random);
            figures.push_back(s);
        }
    return figures;
}

Outcome FigureOutcome::figure() const
{
    if (x == Outcome::Wrong || y == Outcome::Wrong)
        return Outcome::Wrong;
    return x == Outcome::Correct && y == Outcome::Correct ? Outcome::Correct : Outcome::Left;
}

FigureOutcome Measure(const Style& style, LabelOcr& ocr)
{
    const Plot plot = Draw(style);
    const AxisProposal proposal = ProposeAxes(plot.image, {}, ocr);
    FigureOutcome out;
    out.x = Judge(proposal.x, plot.xTicks, plot.xValues, plot.xLog, plot.xDate);
    out.y = Judge(proposal.y, plot.yTicks, plot.yValues, plot.yLog, plot.yDate);
    auto describe = [&](const char* name, Outcome o, const AxisProposalSide& side, const QStringList& written) {
        if (o == Outcome::Left)
            out.note += QStringLiteral("%1 left: %2 ").arg(QLatin1String(name), side.missing);
        if (o == Outcome::Wrong)
            out.note += QStringLiteral("%1 wrong: %2 at (%3, %4) and %5 at (%6, %7), written %8 ")
                            .arg(QLatin1String(name))
                            .arg(side.firstValue)
                            .arg(side.first.x())
                            .arg(side.first.y())
                            .arg(side.secondValue)
                            .arg(side.second.x())
                            .arg(side.second.y())
                            .arg(written.join(' '));
    };
    describe("X", out.x, proposal.x, plot.xLabels);
    describe("Y", out.y, proposal.y, plot.yLabels);
    if (!proposal.error.isEmpty())
        out.note += proposal.error;
    return out;
}

} // namespace tracella::plots
