#pragma once

#include <QSize>
#include <QString>

#include <functional>

class QIODevice;

namespace tracella::bench {

// Fills row y of a picture: one byte a pixel for grey, else three (RGB).
using SampleRows = std::function<void(int y, uchar* row)>;

// Streams an 8-bit grey or RGB PNG of the given rows without holding the
// picture in memory, each row filtered by the one above as encoders do for plots.
bool WritePngRows(QIODevice& out, QSize size, bool grey, const SampleRows& rows);

// Streams an RGB JPEG of the given rows (libjpeg's defaults: 4:2:0) to a file.
bool WriteRgbJpeg(const QString& path, QSize size, int quality, const SampleRows& rows);

} // namespace tracella::bench
