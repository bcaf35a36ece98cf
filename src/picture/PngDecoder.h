#pragma once

#include "picture/DecodeProgress.h"
#include "picture/PictureLoader.h"

class QIODevice;

namespace tracella {

// Decodes a PNG with libspng, row by row straight into the image Qt's own
// reader would give (the same format, colour table and pixels), reading the
// device from its current position. Reports rows to `progress` and stops
// when it is cancelled (the result is then empty: the caller asks the token).
LoadedPicture DecodePng(QIODevice& device, int maxSide = MaxPictureSide, DecodeProgress* progress = nullptr);

// The message of a PNG whose data is damaged or ends early, as Qt words it.
QString PngDamageReason();

} // namespace tracella
