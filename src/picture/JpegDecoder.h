#pragma once

#include "picture/DecodeProgress.h"
#include "picture/PictureLoader.h"

#include <QByteArray>

namespace tracella {

// Bad stretches of entropy-coded data a JPEG may hold and still open: a
// decoder picks up again at the next restart marker, so a few damaged
// restart intervals spoil only a few strips of the picture.
constexpr int TolerableJpegCorruptions = 3;

// How many threads decode a JPEG. A large one of a single scan is decoded
// in two halves at once where the machine has two cores (Auto); progressive
// and CMYK JPEGs, small ones and the rest always on one. Two splits even a
// small one, One never splits: the same pixels and messages either way.
enum class JpegThreads { Auto, One, Two };

// Decodes a JPEG with libjpeg. Qt's decoder fills a picture whose data ends
// early with grey; this one refuses a file whose data ends before its last
// row, or that is corrupt in more than TolerableJpegCorruptions places, and
// finds a file whose data stops at once before it allocates the picture.
// Reports rows to `progress` and stops when it is cancelled (empty result).
LoadedPicture DecodeJpeg(const QByteArray& bytes, int maxSide = MaxPictureSide, DecodeProgress* progress = nullptr,
                         JpegThreads threads = JpegThreads::Auto);

} // namespace tracella
