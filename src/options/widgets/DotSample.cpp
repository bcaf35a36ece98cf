#include "options/widgets/DotSample.h"

#include "options/OptionsFields.h"
#include "picture/MarkerLayer.h"

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
    // Drawn by the picture's own marker routine, so the sample is exactly
    // the dot a point leaves on the picture.
    MarkerLayer dot;
    dot.add({QPoint(width() / 2, height() / 2), Rgb(colour_.red(), colour_.green(), colour_.blue()), penWidth_}, rect());
    QPainter painter(this);
    dot.paint(painter, rect());
}

} // namespace tracella
