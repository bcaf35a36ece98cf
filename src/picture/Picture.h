#pragma once

#include <QByteArray>
#include <QImage>

namespace tracella {

// The kinds a picture reports, as the picture saving tells them apart.
enum class PictureKind { None = 0, Bitmap = 1, Metafile = 2, Icon = 3 };

// The document picture: the decoded image, its kind, and for a metafile
// the original bytes so it can be written back unchanged.
struct Picture {
    QImage image;
    PictureKind kind = PictureKind::None;
    QByteArray originalBytes;

    bool isNull() const { return image.isNull(); }
};

} // namespace tracella
