#pragma once

#include "picture/DecodeProgress.h"
#include "picture/PictureLoader.h"

#include <QByteArray>

namespace tracella {

// Bad stretches of entropy-coded data a JPEG may hold and still open: a
// decoder picks up again at the next restart marker, so a few damaged
// restart intervals spoil only a few strips of the picture.
constexpr int TolerableJpegCorruptions = 3;

// Decodes a JPEG with libjpeg. Qt's decoder fills a picture whose data ends
// early with grey; this one refuses a file whose data ends before its last
// row, or that is corrupt in more than TolerableJpegCorruptions places, and
// finds a file whose data stops at once before it allocates the picture.
// Reports rows to `progress` and stops when it is cancelled (empty result).
LoadedPicture DecodeJpeg(const QByteArray& bytes, int maxSide = MaxPictureSide, DecodeProgress* progress = nullptr);

} // namespace tracella
