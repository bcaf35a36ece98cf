#include "calibration/widgets/CalibrationLayer.h"

#include "calibration/AxisTicks.h"
#include "picture/widgets/PictureSurface.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tracella {
namespace {

const QColor ReferenceColour(230, 0, 230);
const QColor AxesColour(0, 110, 255);
const QColor FoundColour(0, 150, 60);
const QColor RejectedColour(220, 40, 0);

// A halo keeps the text apart from whatever the picture has under it.
void OutlinedText(QPainter& painter, QPointF at, const QString& text, const QColor& colour)
{
    QPainterPath path;
    path.addText(at, painter.font(), text);
    painter.strokePath(path, QPen(QColor(255, 255, 255, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, colour);
}

} // namespace

CalibrationLayer::CalibrationLayer(PictureSurface* surface) : QWidget(surface), surface_(surface)
{
    setObjectName(QStringLiteral("CalibrationLayer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(surface->size());
    surface->installEventFilter(this);
    show();
}

void CalibrationLayer::setReferences(std::vector<Reference> references)
{
    references_ = std::move(references);
    update();
}

void CalibrationLayer::setAxes(std::optional<AffineCalibration> axes)
{
    axes_ = std::move(axes);
    update();
}

void CalibrationLayer::setFound(FoundMarks marks, const QImage& picture)
{
    found_ = std::move(marks);
    foundOn_ = picture.cacheKey();
    update();
}

// A picture put in place since has other axes: the marks go with the old one.
FoundMarks CalibrationLayer::found() const
{
    if (!surface_->hasPicture() || surface_->picture().image.cacheKey() != foundOn_)
        return {};
    return found_;
}

QPointF CalibrationLayer::viewAt(QPointF pixel) const
{
    const double z = surface_->zoom().factor();
    return (pixel + QPointF(0.5, 0.5)) * z;
}

bool CalibrationLayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == surface_ && event->type() == QEvent::Resize)
        resize(surface_->size());
    return QWidget::eventFilter(watched, event);
}

void CalibrationLayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    paintFound(painter);
    if (axes_)
        paintAxes(painter);
    for (const Reference& r : references_) {
        const QPointF at = viewAt(r.pixel);
        painter.setPen(QPen(ReferenceColour, 1));
        painter.drawLine(at - QPointF(7, 0), at + QPointF(7, 0));
        painter.drawLine(at - QPointF(0, 7), at + QPointF(0, 7));
        painter.drawEllipse(at, 4, 4);
        OutlinedText(painter, at + QPointF(6, -6), r.label, ReferenceColour);
    }
}

void CalibrationLayer::paintAxes(QPainter& painter) const
{
    const AffineCalibration& c = *axes_;
    for (const Axis axis : {Axis::X, Axis::Y}) {
        const AxisDrawing drawing = DrawnAxis(c, axis, QSizeF(surface_->pictureSize()));
        painter.setPen(QPen(AxesColour, 1.5));
        painter.drawLine(viewAt(drawing.from), viewAt(drawing.to));
        for (const AxisTick& tick : drawing.ticks) {
            const QPointF at = viewAt(tick.pixel);
            const QPointF across = tick.across * 6;
            painter.setPen(QPen(AxesColour, 1.5));
            painter.drawLine(at - across, at + across);
            const QRectF box = painter.fontMetrics().boundingRect(tick.text);
            // Numbers on the plot's side: the picture's own are usually outside.
            const QPointF centre = at - tick.across * (8 + (axis == Axis::Y ? box.width() / 2 : box.height() / 2));
            OutlinedText(painter, centre - QPointF(box.width() / 2, -box.height() / 3), tick.text, AxesColour);
        }
    }
}

void CalibrationLayer::paintFound(QPainter& painter) const
{
    const FoundMarks marks = found();
    painter.setPen(QPen(FoundColour, 1.5, Qt::DashLine));
    for (const QLineF& axis : marks.axes)
        painter.drawLine(viewAt(axis.p1()), viewAt(axis.p2()));
    const QFontMetricsF metrics(painter.font());
    for (const FoundMark& tick : marks.ticks) {
        const QPointF at = viewAt(tick.pixel);
        painter.setPen(QPen(FoundColour, 2));
        painter.drawEllipse(at, 3, 3);
        if (tick.text.isEmpty())
            continue;
        // Inside the plot, clear of the picture's own labels outside it.
        const QRectF box = metrics.boundingRect(tick.text);
        const bool upright = std::abs(tick.outward.x()) > std::abs(tick.outward.y());
        const QPointF centre = at - tick.outward * (10 + (upright ? box.width() / 2 : box.height() / 2));
        OutlinedText(painter, centre - QPointF(box.width() / 2, -box.height() / 3), tick.text,
                     tick.agrees ? FoundColour : RejectedColour);
    }
}

CalibrationLayer* CalibrationLayerOf(PictureSurface* surface)
{
    if (auto* layer = surface->findChild<CalibrationLayer*>(QString(), Qt::FindDirectChildrenOnly))
        return layer;
    return new CalibrationLayer(surface);
}

} // namespace tracella
