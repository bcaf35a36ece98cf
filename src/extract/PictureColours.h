#pragma once

#include "app/core/AppState.h"

#include <QImage>
#include <QSize>
#include <QtEndian>

#include <cstdint>

namespace tracella {

// What ColourAt reports outside the picture; the sweep never matches there.
inline constexpr Colour OutsideColour = -1;

// How far a packed colour may lie from the wanted one and still match.
inline constexpr std::int64_t ColourTolerance = 100;

// The packed colour of a 32-bit pixel (0xAARRGGBB): blue, green and red in
// reverse order, alpha dropped.
constexpr Colour PackedColour(std::uint32_t pixel)
{
    return static_cast<Colour>(qbswap(pixel) >> 8);
}

// The packed values are compared as numbers, not channel by channel, so a
// difference of 1 in green (256) never matches.
constexpr bool ColourMatches(Colour colour, Colour wanted)
{
    const std::int64_t difference = static_cast<std::int64_t>(colour) - wanted;
    return difference >= -ColourTolerance && difference <= ColourTolerance;
}

// The picture as the surface paints it, 32 bits a pixel: a picture with
// transparency laid over the backdrop colour. Opaque RGB32 pictures are
// shared, not copied.
QImage ShownPicture(const QImage& picture, Colour backdrop);

// The pixels of the picture surface as the colour sweep reads them: as the
// user sees them, a picture with transparency laid over the surface's
// backdrop colour the way the surface paints it. Frame
// positions reach a pixel through the surface's one mapping; the pixel is
// the nearest one, so a position read back from a pixel (a click) lands on
// that same pixel. Markers are to be drawn on the pixel that PixelColumn
// and PixelRow name.
class PictureColours {
public:
    PictureColours(const QImage& picture, const Frame& frame, Colour backdrop);

    Colour ColourAt(float x, float y) const;

    // The pixel column of frame x, -1 outside the picture; likewise rows.
    int PixelColumn(float x) const;
    int PixelRow(float y) const;

    // The first pixel of a row inside the picture.
    const std::uint32_t* Row(int pixelRow) const
    {
        return reinterpret_cast<const std::uint32_t*>(m_bits + pixelRow * m_bytesPerLine);
    }

private:
    QImage m_image; // opaque, 32 bits a pixel, converted once
    Frame m_frame;
    QSize m_size;
    const uchar* m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
};

} // namespace tracella
