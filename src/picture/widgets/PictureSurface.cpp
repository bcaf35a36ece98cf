#include "picture/widgets/PictureSurface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

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
    resize(zoom_.viewSize(picture_.image.size()));
    update();
}

void PictureSurface::setZoom(ViewZoom zoom)
{
    if (zoom.factor() == zoom_.factor())
        return;
    zoom_ = zoom;
    resize(zoom_.viewSize(picture_.image.size()));
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
    const QPointF p = FrameToPixel(frame_, pictureSize(), x, y);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || std::abs(p.x()) > PixelReach ||
        std::abs(p.y()) > PixelReach)
        return; // nowhere near the picture
    const Marker marker{QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))), colour,
                        penWidth_, markerGroup_};
    const QRect canvas(QPoint(0, 0), pictureSize());
    markers_.add(marker, canvas);
    // A reduced view keeps a dot at least a pixel wide: one pixel of margin.
    update(zoom_.viewRect(MarkerLayer::bounds(marker) & canvas).adjusted(-1, -1, 1, 1));
}

void PictureSurface::drawDefaultDot(double x, double y)
{
    drawDot(x, y, Rgb(0, 0, 0));
}

void PictureSurface::setMarkerGroup(int group)
{
    if (group == markerGroup_)
        return;
    markerGroup_ = group;
    markers_.setTopGroup(group);
    update();
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
    return PixelToFrame(frame_, pictureSize(), pixel);
}

QSize PictureSurface::pictureSize() const
{
    return hasPicture() ? picture_.image.size() : size();
}

QPointF PictureSurface::picturePosition(const QMouseEvent* event) const
{
    const QPointF p = event->position();
    return zoom_.pictureAt(QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))));
}

FramePoint PictureSurface::pointerPosition(const QMouseEvent* event) const
{
    return frameAt(picturePosition(event));
}

void PictureSurface::paintEvent(QPaintEvent* event)
{
    if (!zoom_.isNatural()) {
        paintZoomed(event->region());
        return;
    }
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

// Only the picture pixels behind the exposed region are scaled: crisp
// blocks when enlarged, smoothed when reduced.
void PictureSurface::paintZoomed(const QRegion& region)
{
    QPainter painter(this);
    const double z = zoom_.factor();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, z < 1.0);
    const QSize size = picture_.image.size();
    const bool translucent = picture_.image.hasAlphaChannel();
    for (const QRect& exposed : region) {
        const QRect source = zoom_.pictureRect(exposed, size);
        const QRectF target(source.x() * z, source.y() * z, source.width() * z, source.height() * z);
        painter.setClipRect(exposed);
        if (translucent || source.isEmpty() || !target.contains(QRectF(exposed)))
            painter.fillRect(exposed, palette().window());
        if (!source.isEmpty())
            painter.drawImage(target, picture_.image, source);
    }
    painter.setClipRegion(region);
    markers_.paint(painter, zoom_.pictureRect(region.boundingRect(), size), z);
}

void PictureSurface::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(pointerPosition(event), buttonNumbers(event->button()));
}

void PictureSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void PictureSurface::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    emit mouseReleased();
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(pointerPosition(event), buttonNumbers(event->buttons()));
}

} // namespace tracella
