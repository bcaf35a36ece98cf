#include "GeneratedPlot.h"

#include "support/OffscreenFonts.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tracella::plots {
namespace {

double Scale(const Style& s) { return std::max(s.size.width(), s.size.height()) / 800.0; }


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
    font.setPixelSize(int(13 * scale));
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
            plot.xLabels << QString::number(40.0 * i);
            p.drawText(QRectF(x - 40 * scale, xLine + outward * (tick + 4 * scale) - (s.xOnTop ? 16 * scale : 0),
                              80 * scale, 16 * scale),
                       Qt::AlignCenter, plot.xLabels.back());
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
        plot.yLabels << QString::number(-1.5e-3 * double(i)).replace('-', QChar(0x2212));
        if (s.yLabelsTurned) {
            p.save();
            p.translate(left - tick - 12 * scale, y);
            p.rotate(-90);
            p.drawText(QRectF(-40 * scale, -8 * scale, 80 * scale, 16 * scale), Qt::AlignCenter, plot.yLabels.back());
            p.restore();
        } else {
            p.drawText(QRectF(left - tick - 64 * scale, y - 8 * scale, 60 * scale, 16 * scale),
                       Qt::AlignRight | Qt::AlignVCenter, plot.yLabels.back());
        }
    }
    p.end();
    plot.xAxis = QLineF(truth({left, xLine}), truth({right, xLine}));
    plot.yAxis = QLineF(truth({left, top}), truth({left, bottom}));
    if (s.jpeg) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        plot.image.save(&buffer, "JPG", 70);
        plot.image.loadFromData(buffer.data(), "JPG");
    }
    return plot;
}

} // namespace tracella::plots
