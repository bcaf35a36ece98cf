#include "options/widgets/DotSample.h"

#include "options/OptionsFields.h"

#include <QPainter>

namespace tracella {

DotSample::DotSample(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PictureSample"));
    setFixedSize(41, 41);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void DotSample::redraw(const QString& sizeText, const QColor& colour)
{
    colour_ = colour;
    if (const std::optional<int> width = DotWidthOfText(sizeText))
        penWidth_ = *width;
    hasDot_ = true;
    update();
}

void DotSample::paintEvent(QPaintEvent*)
{
    if (!hasDot_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour_);
    const QPointF centre(width() / 2.0, height() / 2.0);
    if (penWidth_ <= 1)
        painter.fillRect(QRectF(centre, QSizeF(1, 1)), colour_);
    else
        painter.drawEllipse(centre, penWidth_ / 2.0, penWidth_ / 2.0);
}

} // namespace tracella
