#pragma once

#include "picture/DecodeProgress.h"

#include <QImage>

#include <cstddef>

class QIODevice;

namespace tracella {

enum class PlainPng { Decoded, Cancelled, NotTaken };

// Decodes the image data of a PNG of 8-bit grey, RGB or RGBA (1, 3 or 4
// channels), not interlaced, straight into `image` (Grayscale8, RGB32 or
// ARGB32, of the picture's size), reading the file again from `start`. Anything but the
// plainest file (a chunk after the data other than IEND, a damaged chunk,
// more or less data than the rows need...) is NotTaken and leaves the
// device anywhere: libspng then decodes it from the start, so damaged files
// keep their usual words. `pipelined` inflates on this thread while a
// second one unfilters and writes the rows.
PlainPng DecodePlainPng(QIODevice& device, qint64 start, int channels, QImage& image, DecodeProgress* progress,
                        bool pipelined);

// zlib's Adler-32, in blocks the compiler can vectorise.
quint32 UpdateAdler32(quint32 adler, const uchar* data, std::size_t length);

} // namespace tracella
