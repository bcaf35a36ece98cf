#include "zoom/widgets/ZoomView.h"

#include "zoom/ZoomDrawing.h"

#include <QFrame>
#include <QPainter>
#include <QResizeEvent>

namespace tracella {
namespace {

QFrame* CrossHairLine(const QString& name, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    // The colour of a scroll bar's track, as the lines have always had.
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, parent->palette().color(QPalette::Button));
    line->setPalette(palette);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

} // namespace

ZoomView::ZoomView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picZoom"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    lineV_ = CrossHairLine(QStringLiteral("LineV"), this);
    lineH_ = CrossHairLine(QStringLiteral("LineH"), this);
}

void ZoomView::draw(const QImage& source, const QSize& destination, float zoom, bool grid)
{
    if (canvas_.isNull())
        return;
    DrawZoom(canvas_, source, destination, zoom, grid);
    black_ = false;
    update();
}

void ZoomView::clear()
{
    if (black_)
        return;
    canvas_.fill(Qt::black);
    black_ = true;
    update();
}

void ZoomView::setCrossHairVisible(bool visible)
{
    lineV_->setVisible(visible);
    lineH_->setVisible(visible);
}

void ZoomView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_, event->rect());
}

void ZoomView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    canvas_ = QImage(event->size(), QImage::Format_RGB32);
    canvas_.fill(Qt::black);
    black_ = true;
    centreCrossHair();
}

void ZoomView::centreCrossHair()
{
    lineH_->setGeometry(0, height() / 2, width(), 1);
    lineV_->setGeometry(width() / 2, 0, 1, height());
}

} // namespace tracella
