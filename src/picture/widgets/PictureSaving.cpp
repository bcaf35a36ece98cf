#include "picture/widgets/PictureSaving.h"

#include "data/DataFileWriting.h"

#include <QBuffer>
#include <QImageWriter>

namespace tracella {
namespace {

// The error a picture operation reports for a picture that is not there.
constexpr long InvalidPictureNumber = 481;

AppError InvalidPicture()
{
    return {InvalidPictureNumber, QStringLiteral("Invalid picture")};
}

std::variant<QByteArray, AppError> EncodeImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return AppError{ErrorNumber::BadFileFormat, writer.errorString()};
    return bytes;
}

} // namespace

QString SavePictureFilter(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Metafile: return QStringLiteral("Windows Metafile (*.wmf)|*.wmf");
    case PictureKind::Icon: return QStringLiteral("Icon (*.ico)|*.ico");
    default: return QStringLiteral("Bitmap (*.bmp)|*.bmp");
    }
}

std::variant<QByteArray, AppError> EncodePicture(const Picture& picture)
{
    if (picture.kind == PictureKind::Metafile) {
        if (picture.originalBytes.isEmpty())
            return InvalidPicture();
        return picture.originalBytes;
    }
    if (picture.isNull())
        return InvalidPicture();
    return EncodeImage(picture.image, picture.kind == PictureKind::Icon ? "ico" : "bmp");
}

std::optional<AppError> WritePictureFile(const QString& path, const Picture& picture)
{
    const std::variant<QByteArray, AppError> encoded = EncodePicture(picture);
    if (const AppError* error = std::get_if<AppError>(&encoded))
        return *error;
    return WriteDataFile(path, std::get<QByteArray>(encoded));
}

} // namespace tracella
