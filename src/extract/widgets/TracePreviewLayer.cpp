#include "extract/widgets/TracePreviewLayer.h"

#include "extract/CurveTrace.h"
#include "picture/widgets/PictureSurface.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace tracella {
namespace {

// The opposite colour, or cyan where that lies too close (mid greys).
QColor HighlightFor(Colour c)
{
    const Colour opposite = Rgb(255 - RedOf(c), 255 - GreenOf(c), 255 - BlueOf(c));
    const Colour shown = DistanceSquared(static_cast<std::uint32_t>(qRgb(RedOf(opposite), GreenOf(opposite),
                                                                         BlueOf(opposite))),
                                         c) < 150 * 150
                             ? Rgb(0, 255, 255)
                             : opposite;
    return QColor(RedOf(shown), GreenOf(shown), BlueOf(shown));
}

} // namespace

TracePreviewLayer::TracePreviewLayer(PictureSurface* surface) : QWidget(surface), surface_(surface)
{
    setObjectName(QStringLiteral("picTracePreview"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(surface->rect());
    surface->installEventFilter(this);
}

void TracePreviewLayer::setMatch(Colour colour, int tolerance)
{
    if (colour == colour_ && tolerance == tolerance_ && !preview_.area().isEmpty())
        return;
    colour_ = colour;
    tolerance_ = tolerance;
    highlight_ = HighlightFor(colour);
    update();
}

bool TracePreviewLayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == surface_ && event->type() == QEvent::Resize) {
        setGeometry(surface_->rect());
        preview_ = {};
    }
    return QWidget::eventFilter(watched, event);
}

QRect TracePreviewLayer::pictureArea(const QRect& layerRect) const
{
    const QSize picture = surface_->picture().image.size();
    const double sx = static_cast<double>(picture.width()) / std::max(width(), 1);
    const double sy = static_cast<double>(picture.height()) / std::max(height(), 1);
    const int left = static_cast<int>(std::floor(layerRect.left() * sx));
    const int top = static_cast<int>(std::floor(layerRect.top() * sy));
    const int right = static_cast<int>(std::ceil((layerRect.right() + 1) * sx));
    const int bottom = static_cast<int>(std::ceil((layerRect.bottom() + 1) * sy));
    return QRect(left, top, right - left, bottom - top) & QRect(QPoint(), picture);
}

void TracePreviewLayer::paintEvent(QPaintEvent* event)
{
    if (!surface_->hasPicture())
        return;
    const QImage& picture = surface_->picture().image;
    const QRect needed = pictureArea(event->rect());
    if (needed.isEmpty())
        return;
    // The distances are worked out again only when the colour, the picture or
    // the part in view changes, not for each new tolerance.
    if (preview_.colour() != colour_ || previewKey_ != picture.cacheKey() ||
        !preview_.area().contains(needed)) {
        const QRect inView = pictureArea(visibleRegion().boundingRect()) | needed;
        preview_ = MatchPreview(TracePixels(picture), inView, colour_);
        previewKey_ = picture.cacheKey();
    }
    QPainter painter(this);
    const double sx = static_cast<double>(width()) / picture.width();
    const double sy = static_cast<double>(height()) / picture.height();
    const bool natural = sx == 1 && sy == 1;
    for (const MatchRun& run : preview_.runs(tolerance_)) {
        if (run.row < needed.top() || run.row > needed.bottom())
            continue;
        if (natural)
            painter.fillRect(QRect(run.begin, run.row, run.end - run.begin, 1), highlight_);
        else
            painter.fillRect(QRectF(run.begin * sx, run.row * sy, (run.end - run.begin) * sx, sy), highlight_);
    }
}

} // namespace tracella
