#pragma once

#include <QByteArray>

class QIODevice;

namespace tracella {

// Qt's BMP and GIF decoders make up for a file that was cut off (with black
// or uninitialised pixels) instead of failing. These checks tell such a file
// by its structure:
// - BMP: an uncompressed bitmap holds fewer bytes than its rows need;
// - GIF: the first image's data ends before its closing empty block.
// Other formats always pass. The device is read from its current position,
// which is restored.
bool IsCutOff(QIODevice& device, const QByteArray& format);

} // namespace tracella
