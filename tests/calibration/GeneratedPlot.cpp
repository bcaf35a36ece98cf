#include "GeneratedPlot.h"

#include "support/OffscreenFonts.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>

namespace tracella::plots {
namespace {

double Scale(const Style& s) { return std::max(s.size.width(), s.size.height()) / 800.0; }

// A label as written: its text, with a raised exponent apart, and its value.
struct Label {
    QString text, raised;
    double value = 0;
};

QString Superscript(const QString& digits)
{
    static const QString raised = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    QString out;
    for (const QChar c : digits)
        out += c == '-' ? QChar(0x207B) : raised[c.digitValue()];
    return out;
}

Label Write(Numbers numbers, int i, int count)
{
    const int power = i - 2;
    switch (numbers) {
    case Numbers::Multiples:
        return {QString::number(40 * i), {}, 40.0 * i};
    case Numbers::NegativeThousandths:
    {
        const double value = -1.5e-3 * (count - 1 - i);
        return {QString::number(value).replace('-', QChar(0x2212)), {}, value};
    }
    case Numbers::Negative:
        return {QString::number(10 * (i - count / 2)), {}, 10.0 * (i - count / 2)};
    case Numbers::Log:
        return {QString::number(std::pow(10.0, power), 'f', std::max(0, -power)), {}, std::pow(10.0, power)};
    case Numbers::LogE:
        return {QStringLiteral("1e%1").arg(power), {}, std::pow(10.0, power)};
    case Numbers::LogPower:
        return {QStringLiteral("10"), QString::number(power), std::pow(10.0, power)};
    case Numbers::Scientific:
        return {QString::asprintf("%.1e", 2.5e4 * i), {}, 2.5e4 * i};
    case Numbers::DecimalComma:
        return {QString::number(0.5 * i, 'f', 1).replace('.', ','), {}, 0.5 * i};
    case Numbers::Thousands:
        return {QLocale(QLocale::English).toString(2000 * i), {}, 2000.0 * i};
    case Numbers::Dates:
    {
        // Across a month's end, so days are not read as plain numbers.
        const QDate day = QDate(2024, 2, 19).addDays(7 * i);
        return {day.toString(Qt::ISODate), {}, double(day.startOfDay(Qt::UTC).toSecsSinceEpoch())};
    }
    }
    return {};
}

bool IsLog(Numbers n) { return n == Numbers::Log || n == Numbers::LogE || n == Numbers::LogPower; }

// In the middle of `box` across, placed along as `align` says; an exponent
// raised at two thirds the size.
void DrawLabel(QPainter& p, const QRectF& box, Qt::Alignment align, const Label& label)
{
    if (label.raised.isEmpty()) {
        p.drawText(box, align, label.text);
        return;
    }
    const QFont font = p.font();
    QFont small = font;
    small.setPixelSize(std::max(1, font.pixelSize() * 2 / 3));
    const QFontMetricsF big(font), little(small);
    const double width = big.horizontalAdvance(label.text) + little.horizontalAdvance(label.raised);
    const double x = align & Qt::AlignRight ? box.right() - width : box.center().x() - width / 2;
    const double baseline = box.center().y() + (big.ascent() - big.descent()) / 2;
    p.drawText(QPointF(x, baseline), label.text);
    p.setFont(small);
    p.drawText(QPointF(x + big.horizontalAdvance(label.text), baseline - 0.45 * big.ascent()), label.raised);
    p.setFont(font);
}

} // namespace

double Tick(const Style& s) { return 6 * Scale(s); }
double Pen(const Style& s) { return std::max(1.0, 1.3 * Scale(s)); }
QPointF Centre(const Style& s)
{
    QTransform turn;
    const double w = s.size.width(), h = s.size.height();
    turn.translate(w / 2, h / 2).rotate(s.turn).translate(-w / 2, -h / 2);
    return turn.map(QPointF((0.123 + 0.917) / 2 * w, (0.083 + 0.853) / 2 * h)) - QPointF(0.5, 0.5);
}

Plot Draw(const Style& s)
{
    const double w = s.size.width(), h = s.size.height(), scale = Scale(s);
    const double left = 0.123 * w, right = 0.917 * w, top = 0.083 * h, bottom = 0.853 * h;
    const double tick = Tick(s), pen = Pen(s);
    const double xLine = s.xOnTop ? top : bottom;
    QTransform turn;
    turn.translate(w / 2, h / 2).rotate(s.turn).translate(-w / 2, -h / 2);
    auto truth = [&](QPointF p) { return turn.map(p) - QPointF(0.5, 0.5); };

    Plot plot;
    plot.image = QImage(s.size, QImage::Format_RGB32);
    plot.image.fill(Qt::white);
    QPainter p(&plot.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(turn);
    QFont font;
    if (s.family)
        font.setFamily(QString::fromLatin1(s.family));
    font.setPixelSize(int(s.letters * scale));
    p.setFont(font);
    std::vector<double> xs, ys;
    for (int i = 0; i < 7; ++i)
        xs.push_back(left + (i + 0.5) * (right - left) / 7);
    for (int i = 0; i < 5; ++i)
        ys.push_back(top + (i + 0.5) * (bottom - top) / 5);
    if (s.grid) {
        p.setPen(QPen(QColor(215, 215, 215), pen));
        for (const double x : xs)
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
        for (const double y : ys)
            p.drawLine(QPointF(left, y), QPointF(right, y));
    }
    // A curve that keeps clear of the axes.
    QPainterPath curve;
    for (int i = 0; i <= 200; ++i) {
        const double x = left + (right - left) * (0.05 + 0.9 * i / 200);
        const QPointF at(x, (top + bottom) / 2 + (bottom - top) * 0.35 * std::sin(i / 20.0));
        i == 0 ? curve.moveTo(at) : curve.lineTo(at);
    }
    p.setPen(QPen(QColor(20, 60, 160), pen));
    p.drawPath(curve);

    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(left, xLine), QPointF(right, xLine));
    p.drawLine(QPointF(left, top), QPointF(left, bottom));
    if (s.box) {
        p.drawLine(QPointF(left, s.xOnTop ? bottom : top), QPointF(right, s.xOnTop ? bottom : top));
        p.drawLine(QPointF(right, top), QPointF(right, bottom));
    }
    const double outward = s.xOnTop ? -1 : 1;
    auto mark = [&](QPointF at, QPointF away) {
        p.drawLine(at - (s.ticksIn ? tick : 0) * away, at + (s.ticksOut ? tick : 0) * away);
    };
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double x = xs[i];
        mark({x, xLine}, {0, outward});
        if (s.box)
            mark({x, s.xOnTop ? bottom : top}, {0, -outward});
        plot.xTicks.push_back(truth({x, xLine}));
        if (s.labels) {
            const Label label = Write(s.xNumbers, int(i), int(xs.size()));
            plot.xLabels << label.text + Superscript(label.raised);
            plot.xValues.push_back(label.value);
            const double high = 1.25 * s.letters * scale;
            DrawLabel(p,
                      QRectF(x - 40 * scale, xLine + outward * (tick + 4 * scale) - (s.xOnTop ? high : 0),
                             80 * scale, high),
                      Qt::AlignCenter, label);
        }
    }
    for (std::size_t i = 0; i < ys.size(); ++i) {
        const double y = ys[i];
        mark({left, y}, {-1, 0});
        if (s.box)
            mark({right, y}, {1, 0});
        plot.yTicks.push_back(truth({left, y}));
        if (!s.labels)
            continue;
        // Top down, so that the values rise up the axis.
        const Label label = Write(s.yNumbers, int(ys.size() - 1 - i), int(ys.size()));
        plot.yLabels << label.text + Superscript(label.raised);
        plot.yValues.push_back(label.value);
        const double high = 1.25 * s.letters * scale;
        if (s.yLabelsTurned) {
            p.save();
            p.translate(left - tick - 4 * scale - high / 2, y);
            p.rotate(-90);
            DrawLabel(p, QRectF(-40 * scale, -high / 2, 80 * scale, high), Qt::AlignCenter, label);
            p.restore();
        } else {
            DrawLabel(p, QRectF(left - tick - 84 * scale, y - high / 2, 80 * scale, high),
                      Qt::AlignRight | Qt::AlignVCenter, label);
        }
    }
    p.end();
    plot.xAxis = QLineF(truth({left, xLine}), truth({right, xLine}));
    plot.yAxis = QLineF(truth({left, top}), truth({left, bottom}));
    plot.xLog = s.labels && IsLog(s.xNumbers);
    plot.yLog = s.labels && IsLog(s.yNumbers);
    plot.xDate = s.labels && s.xNumbers == Numbers::Dates;
    plot.yDate = s.labels && s.yNumbers == Numbers::Dates;
    if (s.jpeg) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        plot.image.save(&buffer, "JPG", s.jpegQuality);
        plot.image.loadFromData(buffer.data(), "JPG");
    }
    return plot;
}

} // namespace tracella::plots
