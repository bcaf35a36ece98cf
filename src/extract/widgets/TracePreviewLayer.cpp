#include "extract/widgets/TracePreviewLayer.h"

#include "extract/CurveTrace.h"
#include "picture/widgets/PictureSurface.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

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

void TracePreviewLayer::setMatch(Colour colour, int tolerance, bool perceptual)
{
    if (colour == colour_ && tolerance == tolerance_ && perceptual == perceptual_ && !preview_.area().isEmpty())
        return;
    colour_ = colour;
    tolerance_ = tolerance;
    perceptual_ = perceptual;
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

void TracePreviewLayer::paintEvent(QPaintEvent* event)
{
    if (!surface_->hasPicture())
        return;
    const QImage& picture = surface_->picture().image;
    const ViewZoom zoom = surface_->zoom();
    const QRect needed = zoom.pictureRect(event->rect(), picture.size());
    if (needed.isEmpty())
        return;
    // The distances are worked out again only when the colour, the picture or
    // the part in view changes, not for each new tolerance.
    const Colour backdrop = surface_->backdrop();
    if (preview_.colour() != colour_ || preview_.perceptual() != perceptual_ || previewKey_ != picture.cacheKey() || previewBackdrop_ != backdrop ||
        !preview_.area().contains(needed)) {
        const QRect inView = zoom.pictureRect(visibleRegion().boundingRect(), picture.size()) | needed;
        preview_.read(picture, inView, colour_, backdrop, perceptual_);
        previewKey_ = picture.cacheKey();
        previewBackdrop_ = backdrop;
    }
    QPainter painter(this);
    for (const MatchRun& run : preview_.runs(tolerance_)) {
        if (run.row < needed.top() || run.row > needed.bottom())
            continue;
        painter.fillRect(zoom.viewRect(QRect(run.begin, run.row, run.end - run.begin, 1)), highlight_);
    }
}

} // namespace tracella
