#include "picture/widgets/PictureSurface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace tracella {
namespace {

// Far beyond any picture, yet safe to round into an int.
constexpr double PixelReach = 1 << 28;

int buttonNumbers(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) + (buttons & Qt::RightButton ? 2 : 0) +
           (buttons & Qt::MiddleButton ? 4 : 0);
}

} // namespace

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture2"));
    // The picture covers the whole surface, so nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resize(0, 0);
}

const Picture& PictureSurface::picture() const
{
    return picture_;
}

bool PictureSurface::hasPicture() const
{
    return !picture_.isNull();
}

void PictureSurface::setPicture(Picture picture)
{
    picture_ = std::move(picture);
    markers_.clear();
    resize(picture_.image.size());
    update();
}

void PictureSurface::clearPicture()
{
    setPicture({});
}

void PictureSurface::clearDrawings()
{
    markers_.clear();
    update();
}

void PictureSurface::setFrame(const Frame& frame)
{
    frame_ = SurfaceFrame(frame);
}

Frame PictureSurface::frame() const
{
    return frame_;
}

void PictureSurface::setPenWidth(int width)
{
    penWidth_ = std::max(1, width);
}

int PictureSurface::penWidth() const
{
    return penWidth_;
}

void PictureSurface::drawDot(double x, double y, Colour colour)
{
    const QPointF p = FrameToPixel(frame_, innerSize(), x, y);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > PixelReach ||
        std::abs(p.y()) > PixelReach)
        return; // nowhere near the picture
    const Marker marker{QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))), colour,
                        penWidth_};
    markers_.add(marker);
    update(MarkerLayer::bounds(marker));
}

void PictureSurface::drawDefaultDot(double x, double y)
{
    drawDot(x, y, Rgb(0, 0, 0));
}

int PictureSurface::markerCount() const
{
    return markers_.count();
}

Colour PictureSurface::backdrop() const
{
    const QColor colour = palette().window().color();
    return Rgb(colour.red(), colour.green(), colour.blue());
}

QImage PictureSurface::composedImage() const
{
    if (!hasPicture())
        return {};
    const QImage& image = picture_.image;
    // Paintable formats only; the copy is the picture's own pixels plus the dots.
    QImage composed =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QPainter painter(&composed);
    markers_.paint(painter, composed.rect());
    return composed;
}

FramePoint PictureSurface::frameAt(QPointF pixel) const
{
    return PixelToFrame(frame_, innerSize(), pixel);
}

QSize PictureSurface::innerSize() const
{
    return hasPicture() ? picture_.image.size() : size();
}

FramePoint PictureSurface::pointerPosition(const QMouseEvent* event) const
{
    const QPointF p = event->position();
    return frameAt(QPointF(std::floor(p.x()), std::floor(p.y())));
}

void PictureSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const Colour under = backdrop();
    const QColor underColour(RedOf(under), GreenOf(under), BlueOf(under));
    const QRect pictureRect = picture_.image.rect();
    for (const QRect& exposed : event->region()) {
        const QRect part = exposed & pictureRect;
        if (part.isEmpty())
            continue;
        if (picture_.image.hasAlphaChannel())
            painter.fillRect(part, underColour);
        painter.drawImage(part.topLeft(), picture_.image, part);
    }
    markers_.paint(painter, event->rect());
}

void PictureSurface::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(pointerPosition(event), buttonNumbers(event->button()));
}

void PictureSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(pointerPosition(event), buttonNumbers(event->buttons()));
}

} // namespace tracella
