#include "calibration/LabelScale.h"

#include "app/core/IsoDate.h"
#include "calibration/LabelNumber.h"

#include <QLineF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tracella {
namespace {

struct Reading {
    std::size_t label = 0;
    double along = 0;      // pixels along the axis
    double coordinate = 0; // the value, or its log10
    double value = 0;
    bool likelier = true;
};

// coordinate = a + b·along, and the one reading of each label that lies on it.
struct Fit {
    double a = 0, b = 0;
    std::vector<const Reading*> agreeing;
    int unlikely = 0;
    double miss = 0;
    bool betterThan(const Fit& o) const
    {
        if (agreeing.size() != o.agreeing.size())
            return agreeing.size() > o.agreeing.size();
        if (unlikely != o.unlikely)
            return unlikely < o.unlikely;
        return miss < o.miss;
    }
    // As well supported, but by other labels: another progression.
    bool rivals(const Fit& o) const
    {
        if (agreeing.size() != o.agreeing.size() || unlikely != o.unlikely)
            return false;
        for (std::size_t i = 0; i < agreeing.size(); ++i)
            if (agreeing[i]->label != o.agreeing[i]->label)
                return true;
        return false;
    }
    bool tied = false; // a rival progression exists: nothing can be chosen
};

double Miss(const Reading& r, double a, double b) { return std::abs(r.along - (r.coordinate - a) / b); }

Fit Agreement(const std::vector<Reading>& readings, std::size_t labels, double a, double b, double tolerance)
{
    std::vector<const Reading*> nearest(labels, nullptr);
    for (const Reading& r : readings) {
        const double miss = Miss(r, a, b);
        const Reading* held = nearest[r.label];
        if (miss <= tolerance && (!held || miss < Miss(*held, a, b) - 1e-9
                                  || (miss < Miss(*held, a, b) + 1e-9 && r.likelier && !held->likelier)))
            nearest[r.label] = &r;
    }
    Fit f{a, b, {}, 0, 0};
    for (const Reading* r : nearest)
        if (r) {
            f.agreeing.push_back(r);
            f.unlikely += !r->likelier;
            f.miss += Miss(*r, a, b);
        }
    return f;
}

// Every two readings make a line; the line most readings lie on wins, and
// is then fitted to them by least squares.
std::optional<Fit> BestFit(const std::vector<Reading>& readings, std::size_t labels, double tolerance)
{
    std::vector<Fit> fits;
    for (std::size_t i = 0; i < readings.size(); ++i)
        for (std::size_t j = i + 1; j < readings.size(); ++j) {
            const Reading &p = readings[i], &q = readings[j];
            if (p.label == q.label || std::abs(q.along - p.along) < 2 || q.coordinate == p.coordinate)
                continue;
            const double b = (q.coordinate - p.coordinate) / (q.along - p.along);
            fits.push_back(Agreement(readings, labels, p.coordinate - b * p.along, b, tolerance));
        }
    std::optional<Fit> best;
    for (const Fit& f : fits)
        if (!best || f.betterThan(*best))
            best = f;
    if (!best)
        return best;
    best->tied = std::any_of(fits.begin(), fits.end(), [&](const Fit& f) { return f.rivals(*best); });
    if (best->tied)
        return best;
    double n = 0, st = 0, sc = 0, stt = 0, stc = 0;
    for (const Reading* r : best->agreeing)
        n += 1, st += r->along, sc += r->coordinate, stt += r->along * r->along, stc += r->along * r->coordinate;
    const double b = (n * stc - st * sc) / (n * stt - st * st);
    const Fit refined = Agreement(readings, labels, (sc - b * st) / n, b, tolerance);
    if (refined.agreeing.size() >= best->agreeing.size())
        best = refined;
    return best;
}

// With more than two labels read, at least three and more than half agree.
bool Enough(const std::optional<Fit>& f, std::size_t readable)
{
    const std::size_t n = f ? f->agreeing.size() : 0;
    return readable == 2 ? n == 2 : n >= 3 && 2 * n > readable;
}

// The agreeing labels farthest apart become the references.
LabelScale Settled(const Fit& fit, AxisKind kind)
{
    LabelScale out;
    out.kind = kind;
    const Reading *first = fit.agreeing.front(), *second = fit.agreeing.back();
    for (const Reading* p : fit.agreeing) {
        out.agreeing.push_back(p->label);
        out.residuals.push_back(Miss(*p, fit.a, fit.b));
        for (const Reading* q : fit.agreeing)
            if (q->along - p->along > second->along - first->along)
                first = p, second = q;
    }
    out.first = {first->label, first->value};
    out.second = {second->label, second->value};
    return out;
}

QString Texts(const std::vector<LabelledTick>& labels)
{
    QStringList texts;
    for (const LabelledTick& l : labels)
        texts << QStringLiteral("\"%1\"").arg(l.text);
    return texts.join(QStringLiteral(", "));
}

} // namespace

LabelScale FitLabels(const std::vector<LabelledTick>& labels)
{
    LabelScale out;
    // Positions along the line through the two labelled ticks farthest apart.
    QLineF span;
    for (const LabelledTick& p : labels)
        for (const LabelledTick& q : labels)
            if (QLineF(p.pixel, q.pixel).length() > span.length())
                span = QLineF(p.pixel, q.pixel);
    const QPointF unit = span.length() > 0 ? (span.p2() - span.p1()) / span.length() : QPointF(1, 0);
    std::vector<Reading> linear, log, dates;
    std::size_t readable = 0, written = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const QPointF d = labels[i].pixel - span.p1();
        const double along = d.x() * unit.x() + d.y() * unit.y();
        const QString text = labels[i].text.trimmed();
        written += !text.isEmpty();
        if (const std::optional<DateValue> date = ParseIsoDate(text))
            dates.push_back({i, along, date->seconds, date->seconds, true});
        const std::vector<LabelReading> readings = ReadLabelNumber(labels[i].text);
        readable += !readings.empty();
        for (const LabelReading& r : readings) {
            linear.push_back({i, along, r.value, r.value, r.likelier});
            if (r.value > 0)
                log.push_back({i, along, std::log10(r.value), r.value, r.likelier});
        }
    }
    const double tolerance = 1.0 + 0.001 * span.length();
    // Labels mostly dates make a time axis, linear in time like any other.
    if (dates.size() >= 2 && 2 * dates.size() > written) {
        const std::optional<Fit> byTime = BestFit(dates, labels.size(), tolerance);
        if (Enough(byTime, dates.size()) && !byTime->tied)
            return Settled(*byTime, AxisKind::Date);
        out.missing = QStringLiteral("The date labels %1 do not agree on one progression in time.").arg(Texts(labels));
        return out;
    }
    if (readable < 2) {
        out.missing = readable == 0 ? QStringLiteral("No tick label could be read as a number.")
                                    : QStringLiteral("Only one tick label could be read as a number (of %1); "
                                                     "two are needed.")
                                          .arg(Texts(labels));
        return out;
    }
    const std::optional<Fit> byLine = BestFit(linear, labels.size(), tolerance);
    const std::optional<Fit> byLog = BestFit(log, labels.size(), tolerance);
    const std::size_t lineCount = Enough(byLine, readable) ? byLine->agreeing.size() : 0;
    const std::size_t logCount = Enough(byLog, readable) ? byLog->agreeing.size() : 0;
    const std::optional<Fit>& winner = lineCount > logCount ? byLine : byLog;
    if (lineCount != logCount && winner->tied) {
        out.missing = QStringLiteral("The tick labels %1 fit two different progressions alike.").arg(Texts(labels));
        return out;
    }
    if (lineCount == logCount) {
        out.missing = lineCount > 0 ? QStringLiteral("The tick labels %1 fit a linear and a log10 scale alike.")
                                          .arg(Texts(labels))
                                    : QStringLiteral("The tick labels %1 do not agree on one linear or log10 scale.")
                                          .arg(Texts(labels));
        return out;
    }
    return lineCount > logCount ? Settled(*byLine, AxisKind::Linear) : Settled(*byLog, AxisKind::Log);
}

} // namespace tracella
