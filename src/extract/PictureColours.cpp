#include "extract/PictureColours.h"

#include "calibration/FrameMapping.h"

#include <QPainter>

#include <cmath>

namespace tracella {
namespace {

// The nearest pixel index to a mapped position, -1 when it lies outside.
int NearestIndex(double position, int extent)
{
    const double index = std::floor(position + 0.5);
    return index >= 0 && index < extent ? static_cast<int>(index) : -1;
}

} // namespace

// The same painting as the surface's: the backdrop first, the picture over it.
QImage ShownPicture(const QImage& picture, Colour backdrop)
{
    if (!picture.hasAlphaChannel())
        return picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(QColor(RedOf(backdrop), GreenOf(backdrop), BlueOf(backdrop)));
    QPainter painter(&shown);
    painter.drawImage(0, 0, picture);
    return shown;
}

PictureColours::PictureColours(const QImage& picture, const Frame& frame, Colour backdrop)
    : m_image(ShownPicture(picture, backdrop)), m_frame(frame), m_size(m_image.size()), m_bits(m_image.constBits()),
      m_bytesPerLine(m_image.bytesPerLine())
{
}

// The mapping is separate per axis, so the other coordinate does not matter.
int PictureColours::PixelColumn(float x) const
{
    return NearestIndex(FrameToPixel(m_frame, m_size, x, m_frame.top).x(), m_size.width());
}

int PictureColours::PixelRow(float y) const
{
    return NearestIndex(FrameToPixel(m_frame, m_size, m_frame.left, y).y(), m_size.height());
}

Colour PictureColours::ColourAt(float x, float y) const
{
    const int column = PixelColumn(x);
    const int row = PixelRow(y);
    if (column < 0 || row < 0)
        return OutsideColour;
    return PackedColour(Row(row)[column]);
}

} // namespace tracella
