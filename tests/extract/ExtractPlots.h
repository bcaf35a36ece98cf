#pragma once

#include "extract/PictureColours.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <vector>

// Generated plots whose true curves are known, in picture pixels (pixel i
// spans [i, i + 1), as the painter draws).
namespace tracella::test {

inline QColor ColourOf(Colour c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

inline QImage Paper(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// The polyline through the points, antialiased.
inline void DrawLine(QImage& picture, const std::vector<QPointF>& line, const QColor& colour, double width,
                     Qt::PenStyle style = Qt::SolidLine)
{
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, width, style, Qt::FlatCap, Qt::RoundJoin));
    QPainterPath path(line.front());
    for (std::size_t i = 1; i < line.size(); ++i)
        path.lineTo(line[i]);
    p.drawPath(path);
}

// The graph of y, four points a pixel.
inline std::vector<QPointF> GraphOf(const std::function<double(double)>& y, double from, double to)
{
    const int count = static_cast<int>((to - from) * 4);
    std::vector<QPointF> line;
    for (int i = 0; i <= count; ++i) {
        const double x = from + (to - from) * i / count;
        line.emplace_back(x, y(x));
    }
    return line;
}

inline QImage ThroughJpeg(const QImage& picture, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", quality);
    return QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
}

} // namespace tracella::test
