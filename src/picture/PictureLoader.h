#pragma once

#include "app/core/AppError.h"
#include "picture/DecodeProgress.h"
#include "picture/Picture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class QIODevice;

namespace tracella {

// The largest side of a picture the program opens: a 600 dpi scan of an A3
// page (about 7000 x 10000) fits with room to spare, and a 4-byte image of
// this side still fits in memory next to everything else.
constexpr int MaxPictureSide = 20000;

// A decoded picture, or why there is none.
struct LoadedPicture {
    Picture picture;
    std::optional<AppError> error;
};

// Reads a picture file: Windows metafiles through libwmf, PNG through
// libspng, JPEG through libjpeg, every other format through Qt's image
// plugins (BMP, ICO, GIF, TIFF, WebP, ...). Pictures with a side beyond
// maxSide are refused before decoding wherever the format tells its size up
// front. The PNG and JPEG decoders report rows to `progress` and give up
// when it is cancelled, leaving the result empty.
LoadedPicture LoadPictureFile(const QString& path, int maxSide = MaxPictureSide, DecodeProgress* progress = nullptr);

// The same from a device positioned at the start of the picture; formatHint
// (a file suffix such as "ico") is tried when the content alone is not
// recognised.
LoadedPicture DecodePicture(QIODevice& device, const QByteArray& formatHint, int maxSide = MaxPictureSide,
                            DecodeProgress* progress = nullptr);

// The refusals every decoder gives: a picture beyond maxSide, a damaged or
// unreadable file, and a file that ends before its picture does.
LoadedPicture TooLargeRefusal(QSize size, int maxSide);
LoadedPicture InvalidPicture(const QString& reason);
LoadedPicture CutOffRefusal();

// The decoder's memory allowance in MiB for pictures up to maxSide: a full
// 4-byte image of that side plus a margin for the decoder's own buffers.
int PictureAllocationLimitMiB(int maxSide);

// An image for a decoder to fill. A large one is backed by the system's
// large memory pages where it can be: a 20000 x 20000 picture otherwise
// costs 400,000 page faults, more than its decoding.
QImage NewDecodedImage(QSize size, QImage::Format format);

// Lets every decoder of the process (files, and the clipboard's own) take
// pictures up to MaxPictureSide; Qt's default allowance is far smaller.
void AllowLargePictures();

} // namespace tracella
