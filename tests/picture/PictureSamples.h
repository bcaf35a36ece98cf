#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

namespace tracella::test {

// Picture files made on the spot, so no test depends on files of unknown
// origin: Qt writes what it can, the rest is encoded here.

// The image in a format Qt can write ("bmp", "png", "jpg", "ico", "tiff", "webp").
QByteArray EncodedWithQt(const QImage& image, const char* format, int quality = -1);

// A GIF of the image (at most 256 colours), with uncompressed LZW codes.
QByteArray GifBytes(const QImage& image);

// A JPEG of the image written by libjpeg at its default quality: grey, or
// RGB in 4:2:0 (4:4:4 with fullChroma); a restart marker after every
// restartRows rows of blocks (0: none); progressive when asked.
struct JpegLayout {
    bool grey = false;
    bool fullChroma = false;
    int restartRows = 0;
    bool progressive = false;
};
QByteArray JpegBytes(const QImage& image, const JpegLayout& layout);

// Where a JPEG's first scan's data starts: after its start-of-scan segment.
qsizetype JpegScanDataStart(const QByteArray& jpeg);
// The JPEG with the data of the given restart intervals (counted from 0)
// taken out, their markers kept.
QByteArray JpegWithEmptiedIntervals(const QByteArray& jpeg, const std::vector<int>& intervals);

// A placeable Windows metafile of a given size in pixels at 96 dpi: a white
// page with filled rectangles in the given colours.
struct MetafileRectangle {
    QRect rect;
    QColor colour;
    bool ellipse = false; // the ellipse inside rect instead
    int nestedSaves = 0; // SaveDC records before it, each undone by a RestoreDC after it
    int savesBefore = 0; // SaveDC records before it that nothing restores
};
QByteArray MetafileBytes(QSize size, const std::vector<MetafileRectangle>& rectangles, quint16 unitsPerInch = 96);

// A PNG of every layout the format allows, written by libspng: noisy
// samples of the given colour type and depth, with a tRNS chunk (black, or
// falling alpha for half the palette) and Adam7 interlacing when asked.
struct PngLayout {
    int colourType; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int depth;
    bool transparentColour = false;
    bool interlaced = false;
    int filters = 0; // SPNG_FILTER_CHOICE_*, or 0 for libspng's choice
};
QByteArray PngBytes(const PngLayout& layout, QSize size);

// A small picture with distinct colours in its corners, for round trips.
QImage CornerTestImage(QSize size = QSize(16, 12));

} // namespace tracella::test
