// Draws the pictures of the information windows: the splash photograph, the
// about box's 50 x 50 picture and the about box's window icon.
// Usage: make_info_pictures <resources-folder>
// The output is deterministic; the PNG files it writes are kept with the sources.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

const QColor Ink(40, 52, 84);
const QColor Blue(42, 111, 219);
const QColor Red(217, 48, 44);
const QColor Frame(34, 74, 150);
const QColor PaleBlue(232, 240, 252);

constexpr QSize SplashSize(620, 340);

// A desk of warm wood: bands of grain with a little noise.
void DrawDesk(QPainter& p, const QRect& area)
{
    QImage wood(area.size(), QImage::Format_RGB32);
    std::mt19937 random(2004);
    std::uniform_real_distribution<double> noise(-6.0, 6.0);
    for (int y = 0; y < wood.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(wood.scanLine(y));
        for (int x = 0; x < wood.width(); ++x) {
            const double grain = std::sin(y * 0.11 + std::sin(x * 0.013) * 3.0 + std::sin(x * 0.002 + y * 0.03) * 2.0);
            const double shade = 18.0 * grain + noise(random);
            line[x] = qRgb(std::clamp(int(126 + shade), 0, 255), std::clamp(int(82 + shade * 0.8), 0, 255),
                           std::clamp(int(48 + shade * 0.5), 0, 255));
        }
    }
    p.drawImage(area.topLeft(), wood);
}

// The graph of the sheet in sheet coordinates (0..280 x 0..230): a damped
// oscillation with the points a user has picked on it.
QPainterPath Curve()
{
    QPainterPath path;
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0;
        const QPointF at(40 + 220 * t, 120 - 80 * std::exp(-2.2 * t) * std::cos(11 * t) + 50 * t);
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    return path;
}

void DrawSheetContent(QPainter& p)
{
    p.fillRect(QRectF(0, 0, 280, 230), QColor(252, 251, 245));
    for (int x = 0; x <= 280; x += 8) {
        p.setPen(QPen(QColor(120, 180, 150, x % 40 == 0 ? 150 : 70), x % 40 == 0 ? 1.0 : 0.5));
        p.drawLine(QPointF(x, 0), QPointF(x, 230));
    }
    for (int y = 0; y <= 230; y += 8) {
        p.setPen(QPen(QColor(120, 180, 150, y % 40 == 0 ? 150 : 70), y % 40 == 0 ? 1.0 : 0.5));
        p.drawLine(QPointF(0, y), QPointF(280, y));
    }
    p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 20), QPointF(40, 200));
    p.drawLine(QPointF(40, 200), QPointF(265, 200));
    for (int x = 80; x <= 240; x += 40)
        p.drawLine(QPointF(x, 200), QPointF(x, 205));
    for (int y = 40; y <= 160; y += 40)
        p.drawLine(QPointF(35, y), QPointF(40, y));
    const QPainterPath curve = Curve();
    p.setPen(QPen(Blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(Red, 1.6));
    for (int i = 1; i < 12; ++i) {
        const QPointF at = curve.pointAtPercent(i / 12.0);
        p.drawLine(at + QPointF(-4, -4), at + QPointF(4, 4));
        p.drawLine(at + QPointF(-4, 4), at + QPointF(4, -4));
    }
}

void DrawSheet(QPainter& p)
{
    p.save();
    p.translate(40, 44);
    p.rotate(-4);
    for (int i = 8; i > 0; --i)
        p.fillRect(QRectF(4 + i, 6 + i, 280, 230), QColor(0, 0, 0, 10));
    DrawSheetContent(p);
    p.restore();
}

// A magnifying glass over the sheet, showing it twice as large.
void DrawMagnifier(QPainter& p)
{
    const QPointF centre(236, 150);
    const double radius = 54;
    p.save();
    p.setPen(QPen(QColor(60, 40, 30), 13, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(radius * 0.72, radius * 0.72), centre + QPointF(radius * 1.55, radius * 1.55));
    QPainterPath lens;
    lens.addEllipse(centre, radius, radius);
    p.setClipPath(lens);
    p.translate(centre);
    p.scale(2, 2);
    p.translate(-centre);
    p.translate(40, 44);
    p.rotate(-4);
    DrawSheetContent(p);
    p.restore();
    QRadialGradient glare(centre + QPointF(-18, -20), radius);
    glare.setColorAt(0, QColor(255, 255, 255, 90));
    glare.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(QPen(QColor(70, 70, 78), 6));
    p.setBrush(glare);
    p.drawEllipse(centre, radius, radius);
}

// Darkens the right side, where the splash window writes its text.
void DrawTextShade(QPainter& p, const QRect& area)
{
    QLinearGradient shade(area.width() * 0.5, 0, area.width() * 0.6, 0);
    shade.setColorAt(0, QColor(10, 16, 32, 0));
    shade.setColorAt(1, QColor(10, 16, 32, 200));
    p.fillRect(area, shade);
    QRadialGradient vignette(area.center(), area.width() * 0.7);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(area, vignette);
}

QImage Splash()
{
    QImage image(SplashSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawDesk(p, image.rect());
    DrawSheet(p);
    DrawMagnifier(p);
    DrawTextShade(p, image.rect());
    return image;
}

// The about box's picture: a plot whose curve smiles.
QImage AboutPicture()
{
    QImage image(50, 50, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Frame, 2.5));
    p.setBrush(PaleBlue);
    p.drawRoundedRect(QRectF(2, 2, 46, 46), 9, 9);
    p.setPen(QPen(QColor(190, 206, 230), 1));
    for (int i = 14; i <= 38; i += 8) {
        p.drawLine(QPointF(i, 8), QPointF(i, 40));
        p.drawLine(QPointF(10, i), QPointF(42, i));
    }
    p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(10, 7), QPointF(10, 41));
    p.drawLine(QPointF(9, 41), QPointF(44, 41));
    QPainterPath smile;
    smile.moveTo(15, 25);
    smile.cubicTo(QPointF(20, 38), QPointF(34, 38), QPointF(39, 25));
    p.setPen(QPen(Red, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smile);
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawEllipse(QPointF(20, 17), 3, 3);
    p.drawEllipse(QPointF(34, 17), 3, 3);
    return image;
}

// The about box's window icon: an "i" on a blue disc.
QImage InfoIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Frame, 1.5));
    p.setBrush(Blue);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
    p.drawRoundedRect(QRectF(13.6, 14, 4.8, 11.5), 1.5, 1.5);
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_info_pictures <resources-folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("info")))
        return 1;
    const bool ok = Save(Splash(), out.filePath(QStringLiteral("info/splash.png"))) &&
                    Save(AboutPicture(), out.filePath(QStringLiteral("info/about.png"))) &&
                    Save(InfoIcon(), out.filePath(QStringLiteral("info/info.png")));
    return ok ? 0 : 1;
}
