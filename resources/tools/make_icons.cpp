// Draws the program's pictures: toolbar icons, program icon and mouse pointers.
// Usage: make_resource_images <resources-folder>
// The output is deterministic; the PNG files it writes are kept with the sources.

#include "resources/CursorHotspots.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

const QColor Ink(48, 48, 48);
const QColor Paper(255, 255, 255);
const QColor Blue(42, 111, 219);
const QColor PaleBlue(186, 212, 246);
const QColor Red(217, 48, 44);
const QColor Yellow(242, 193, 78);
const QColor DarkYellow(201, 148, 38);
const QColor Grey(150, 150, 150);
const QColor LightGrey(222, 222, 222);
const QColor Green(58, 157, 79);
const QColor Magenta(200, 40, 200);

constexpr int IconSize = 24;

QImage Transparent(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Outlined(QPainter& p, const QColor& fill, qreal width = 1.0)
{
    p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void TextLines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal gap)
{
    p.setPen(QPen(Grey, 1.0));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * gap), QPointF(right, top + i * gap));
}

void DrawNew(QPainter& p)
{
    Outlined(p, Paper);
    p.drawPolygon(QPolygonF({{5.5, 2.5}, {14.5, 2.5}, {19.5, 7.5}, {19.5, 21.5}, {5.5, 21.5}}));
    Outlined(p, LightGrey);
    p.drawPolygon(QPolygonF({{14.5, 2.5}, {14.5, 7.5}, {19.5, 7.5}}));
}

void DrawSave(QPainter& p)
{
    Outlined(p, Blue);
    p.drawPolygon(QPolygonF({{3.5, 3.5}, {18.5, 3.5}, {20.5, 5.5}, {20.5, 20.5}, {3.5, 20.5}}));
    Outlined(p, LightGrey);
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.fillRect(QRectF(13, 4.5, 2, 4), Ink);
    Outlined(p, Paper);
    p.drawRect(QRectF(6.5, 12.5, 11, 8));
    TextLines(p, 8.5, 15.5, 15.0, 2, 3.0);
}

void DrawPrint(QPainter& p)
{
    Outlined(p, Paper);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));
    Outlined(p, Grey);
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
    Outlined(p, Paper);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    TextLines(p, 8.5, 15.5, 17.0, 2, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QPointF(18.5, 12), 1.2, 1.2);
}

void DrawPaste(QPainter& p)
{
    Outlined(p, QColor(181, 131, 74));
    p.drawRoundedRect(QRectF(3.5, 4.5, 13, 17), 1.5, 1.5);
    Outlined(p, LightGrey);
    p.drawRoundedRect(QRectF(7.5, 2.5, 5, 4), 1, 1);
    Outlined(p, Paper);
    p.drawRect(QRectF(10.5, 9.5, 10, 12));
    TextLines(p, 12.5, 18.5, 12.5, 3, 3.0);
}

void DrawOpen(QPainter& p)
{
    Outlined(p, DarkYellow);
    p.drawPolygon(QPolygonF({{2.5, 5.5}, {8.5, 5.5}, {10.5, 7.5}, {18.5, 7.5}, {18.5, 19.5}, {2.5, 19.5}}));
    Outlined(p, Yellow);
    p.drawPolygon(QPolygonF({{2.5, 19.5}, {6.5, 10.5}, {22.5, 10.5}, {18.5, 19.5}}));
}

void DrawSort(QPainter& p, const QString& key)
{
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(Blue);
    const qreal heights[] = {5, 10, 15};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(2.5 + i * 4.5, 21.5 - heights[i], 3, heights[i]));
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Red);
    p.drawText(QRectF(15, 1, 9, 12), Qt::AlignCenter, key);
    p.setPen(QPen(Ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(19.5, 13.5), QPointF(19.5, 21.5));
    p.drawPolyline(QPolygonF({{17.5, 19.5}, {19.5, 21.5}, {21.5, 19.5}}));
}

// A small table of points: header row and four data rows; `fill` may colour data rows.
void DrawTable(QPainter& p, const std::function<QColor(int)>& fill)
{
    Outlined(p, Paper);
    p.drawRect(QRectF(2.5, 2.5, 17, 19));
    p.fillRect(QRectF(3, 3, 16, 3.5), LightGrey);
    for (int row = 0; row < 4; ++row) {
        const QColor colour = fill(row);
        if (colour.isValid())
            p.fillRect(QRectF(3, 6.5 + row * 3.75, 16, 3.75), colour);
    }
    p.setPen(QPen(Grey, 1.0));
    for (int row = 0; row <= 4; ++row)
        p.drawLine(QPointF(3, 6.5 + row * 3.75), QPointF(19, 6.5 + row * 3.75));
    p.drawLine(QPointF(8.5, 3), QPointF(8.5, 21));
    p.drawLine(QPointF(14, 3), QPointF(14, 21));
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 17, 19));
}

void DrawMinusBadge(QPainter& p)
{
    p.setPen(QPen(Paper, 1.0));
    p.setBrush(Red);
    p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
    p.setPen(QPen(Paper, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
}

void DrawRemoveAll(QPainter& p)
{
    DrawTable(p, [](int) { return QColor(); });
    p.setPen(QPen(Red, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(20, 20));
    p.drawLine(QPointF(20, 5), QPointF(5, 20));
}

void DrawRemoveRepeated(QPainter& p)
{
    DrawTable(p, [](int row) { return row <= 1 ? QColor(250, 214, 120) : QColor(); });
    DrawMinusBadge(p);
}

void DrawRemoveSelected(QPainter& p)
{
    DrawTable(p, [](int row) { return row == 1 ? PaleBlue : QColor(); });
    DrawMinusBadge(p);
}

void DrawAxes(QPainter& p)
{
    p.setPen(QPen(Ink, 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawPolyline(QPolygonF({{3.5, 2.5}, {3.5, 20.5}, {21.5, 20.5}}));
}

void DrawAutoRead(QPainter& p)
{
    DrawAxes(p);
    QPainterPath curve(QPointF(5, 18));
    curve.cubicTo(QPointF(9, 1), QPointF(15, 1), QPointF(21, 15));
    p.setPen(QPen(Red, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(Blue, 1.0, Qt::DashLine));
    p.drawLine(QPointF(17.5, 1), QPointF(17.5, 19));
    p.setPen(QPen(Ink, 0.8));
    p.setBrush(QColor(100, 255, 0));
    for (const qreal t : {0.12, 0.5, 0.78})
        p.drawEllipse(curve.pointAtPercent(t), 2.0, 2.0);
}

// A curve followed by evenly spaced points, each in the middle of the line.
void DrawTraceCurve(QPainter& p)
{
    DrawAxes(p);
    QPainterPath curve(QPointF(5, 17));
    curve.cubicTo(QPointF(10, 3), QPointF(15, 19), QPointF(21, 5));
    p.setPen(QPen(Blue, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(Ink, 0.8));
    p.setBrush(QColor(100, 255, 0));
    for (const qreal t : {0.1, 0.3, 0.5, 0.7, 0.9})
        p.drawEllipse(curve.pointAtPercent(t), 1.6, 1.6);
}

void DrawInterpolate(QPainter& p)
{
    DrawAxes(p);
    QPainterPath curve(QPointF(6, 17));
    curve.cubicTo(QPointF(14, 17), QPointF(11, 5), QPointF(20, 5));
    p.setPen(QPen(Magenta, 1.2, Qt::DotLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (const qreal t : {0.0, 0.5, 1.0})
        p.drawEllipse(curve.pointAtPercent(t), 2.2, 2.2);
}

void DrawOptions(QPainter& p)
{
    const QPointF c(12, 12);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal angle = i * 360.0 / (teeth * 4) + 360.0 / (teeth * 8);
        const qreal radius = (i % 4 < 2) ? 10.0 : 7.5;
        QLineF ray(c, c + QPointF(radius, 0));
        ray.setAngle(angle);
        if (i == 0)
            gear.moveTo(ray.p2());
        else
            gear.lineTo(ray.p2());
    }
    gear.closeSubpath();
    gear.addEllipse(c, 3.0, 3.0);
    Outlined(p, Grey);
    p.drawPath(gear);
}

void DrawCapture(QPainter& p)
{
    Outlined(p, Ink);
    p.drawRect(QRectF(9.5, 17.5, 5, 3));
    p.drawRect(QRectF(6.5, 20.5, 11, 1));
    Outlined(p, QColor(70, 70, 70));
    p.drawRoundedRect(QRectF(1.5, 3.5, 21, 14), 1.5, 1.5);
    p.fillRect(QRectF(3, 5, 18, 11), PaleBlue);
    p.setPen(QPen(Red, 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6.5, 7.5, 9, 6));
}

void DrawScanner(QPainter& p)
{
    Outlined(p, Grey);
    p.drawPolygon(QPolygonF({{3.5, 9.5}, {18.5, 4.5}, {20.5, 7.5}, {5.5, 12.5}}));
    Outlined(p, LightGrey);
    p.drawRoundedRect(QRectF(2.5, 12.5, 19, 8), 1.5, 1.5);
    p.setPen(QPen(Green, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 15.5), QPointF(19, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QPointF(18.5, 18.5), 1.0, 1.0);
}

void DrawZoom(QPainter& p)
{
    p.setPen(QPen(Ink, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(Ink, 1.8));
    p.setBrush(PaleBlue);
    p.drawEllipse(QPointF(10, 10), 7, 7);
    p.setPen(QPen(Paper, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 8, 8), 100 * 16, 60 * 16);
}

using Painter = std::function<void(QPainter&)>;

const std::vector<std::pair<QString, Painter>>& ToolbarIcons()
{
    static const std::vector<std::pair<QString, Painter>> icons = {
        {"New", DrawNew},
        {"Save", DrawSave},
        {"Print", DrawPrint},
        {"Paste", DrawPaste},
        {"Open", DrawOpen},
        {"SortXY", [](QPainter& p) { DrawSort(p, "X"); }},
        {"SortYX", [](QPainter& p) { DrawSort(p, "Y"); }},
        {"RemoveAll", DrawRemoveAll},
        {"RemoveRepeated", DrawRemoveRepeated},
        {"RemoveSelected", DrawRemoveSelected},
        {"AutoRead", DrawAutoRead},
        {"TraceCurve", DrawTraceCurve},
        {"Interpolate", DrawInterpolate},
        {"Options", DrawOptions},
        {"Capture", DrawCapture},
        {"Scanner", DrawScanner},
        {"Zoom", DrawZoom},
    };
    return icons;
}

QImage ProgramIcon()
{
    QImage image = Transparent(256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 70, 140), 6));
    p.setBrush(QColor(232, 240, 251));
    p.drawRoundedRect(QRectF(12, 12, 232, 232), 36, 36);
    p.setPen(QPen(QColor(205, 215, 230), 2));
    for (int i = 1; i <= 4; ++i) {
        p.drawLine(QPointF(56 + i * 36, 40), QPointF(56 + i * 36, 200));
        p.drawLine(QPointF(56, 200 - i * 36), QPointF(216, 200 - i * 36));
    }
    p.setPen(QPen(Ink, 8, Qt::SolidLine, Qt::SquareCap));
    p.drawPolyline(QPolygonF({{56, 36}, {56, 200}, {222, 200}}));
    QPainterPath curve(QPointF(62, 182));
    curve.cubicTo(QPointF(110, 170), QPointF(120, 60), QPointF(212, 56));
    p.setPen(QPen(Red, 9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    const QPointF target = curve.pointAtPercent(0.5);
    p.setPen(QPen(Blue, 6));
    p.drawEllipse(target, 24, 24);
    p.setPen(QPen(Blue, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(target + QPointF(-44, 0), target + QPointF(-12, 0));
    p.drawLine(target + QPointF(12, 0), target + QPointF(44, 0));
    p.drawLine(target + QPointF(0, -44), target + QPointF(0, -12));
    p.drawLine(target + QPointF(0, 12), target + QPointF(0, 44));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(target, 5, 5);
    return image;
}

// Pointers are black shapes with a one-pixel white rim, so they show on dark and light pictures.
QImage WithWhiteRim(const QImage& shape)
{
    QImage result = Transparent(shape.width());
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            int alpha = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (shape.valid(x + dx, y + dy))
                        alpha = std::max(alpha, qAlpha(shape.pixel(x + dx, y + dy)));
            result.setPixel(x, y, qPremultiply(qRgba(255, 255, 255, alpha)));
        }
    QPainter p(&result);
    p.drawImage(0, 0, shape);
    return result;
}

// Cross arms one pixel wide through the hot pixel, leaving `gap` pixels free on each side of it.
void CrossArms(QPainter& p, QPoint hot, int gap, int reach)
{
    p.fillRect(QRect(hot.x(), hot.y() - reach, 1, reach - gap), Qt::black);
    p.fillRect(QRect(hot.x(), hot.y() + gap + 1, 1, reach - gap), Qt::black);
    p.fillRect(QRect(hot.x() - reach, hot.y(), reach - gap, 1), Qt::black);
    p.fillRect(QRect(hot.x() + gap + 1, hot.y(), reach - gap, 1), Qt::black);
}

QImage PointerShape(int position)
{
    const tracella::PointerImage& info = tracella::PointerImageAt(position);
    const QPoint hot(info.hotX, info.hotY);
    const QPointF centre(hot.x() + 0.5, hot.y() + 0.5);
    QImage shape = Transparent(32);
    QPainter p(&shape);
    switch (position) {
    case 1:
        CrossArms(p, hot, -1, 14);
        break;
    case 2:
        CrossArms(p, hot, 3, 14);
        break;
    case 3:
        CrossArms(p, hot, -1, 13);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.3));
        p.drawEllipse(centre, 8, 8);
        break;
    case 4:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(centre, 2.6, 2.6);
        break;
    case 5:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({{0, 0}, {0, 19}, {4.5, 14.5}, {8, 22}, {11, 20.5}, {7.5, 13.5}, {13.5, 13.5}})
                          .translated(hot));
        break;
    case 6:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.3));
        p.drawEllipse(centre, 11, 11);
        p.drawEllipse(centre, 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(centre, 1.5, 1.5);
        break;
    case 7:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::FlatCap));
        for (const QPointF direction : {QPointF(1, 1), QPointF(1, -1), QPointF(-1, 1), QPointF(-1, -1)})
            p.drawLine(centre + direction * 3, centre + direction * 10);
        p.fillRect(QRect(hot, QSize(1, 1)), Qt::black);
        break;
    }
    return shape;
}

bool Save(const QImage& image, const QString& path)
{
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a platform; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_resource_images <resources-folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath("icons/toolbar") || !root.mkpath("cursors")) {
        std::fprintf(stderr, "cannot create the output folders under %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    for (const auto& [key, draw] : ToolbarIcons()) {
        QImage icon = Transparent(IconSize);
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p);
        p.end();
        ok = Save(icon, root.filePath("icons/toolbar/" + key + ".png")) && ok;
    }
    ok = Save(ProgramIcon(), root.filePath("icons/tracella.png")) && ok;
    for (int position = 1; position <= tracella::PointerImageCount; ++position)
        ok = Save(WithWhiteRim(PointerShape(position)),
                  root.filePath(QString("cursors/pointer%1.png").arg(position)))
             && ok;
    return ok ? 0 : 1;
}
