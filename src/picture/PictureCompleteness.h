#pragma once

#include <QByteArray>

class QIODevice;

namespace tracella {

// Qt's BMP, GIF and JPEG decoders make up for a file that was cut off (with
// grey, black or uninitialised pixels) instead of failing. These checks tell
// such a file by its structure:
// - BMP: an uncompressed bitmap holds fewer bytes than its rows need;
// - GIF: the first image's data ends before its closing empty block;
// - JPEG: no end-of-image marker follows the first scan.
// Other formats always pass. The device is read from its current position,
// which is restored.
bool IsCutOff(QIODevice& device, const QByteArray& format);

} // namespace tracella
