#include "picture/PictureLoader.h"

#include "picture/JpegDecoder.h"
#include "picture/MetafileDecoder.h"
#include "picture/PictureCompleteness.h"
#include "picture/PngDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <optional>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace tracella {
namespace {

bool tooLarge(QSize size, int maxSide)
{
    return size.width() > maxSide || size.height() > maxSide;
}

int openFailureCause(const QFileInfo& file)
{
    if (!file.exists())
        return ENOENT;
    if (file.isDir())
        return EISDIR;
    return file.isReadable() ? EIO : EACCES;
}

// Qt's icon reader does not always name its format; the icon directory's
// header does: two zero bytes, type 1 (icon) or 2 (cursor), a count.
bool isIconStart(const QByteArray& head)
{
    return head.size() >= 6 && head[0] == 0 && head[1] == 0 && (head[2] == 1 || head[2] == 2) && head[3] == 0 &&
           (head[4] != 0 || head[5] != 0);
}

PictureKind kindOf(const QByteArray& format, const QByteArray& head)
{
    const bool icon = format == "ico" || format == "cur" || (format.isEmpty() && isIconStart(head));
    return icon ? PictureKind::Icon : PictureKind::Bitmap;
}

} // namespace

LoadedPicture TooLargeRefusal(QSize size, int maxSide)
{
    return {{},
            AppError{ErrorNumber::PictureTooLarge,
                     QStringLiteral("The picture is %1 x %2 pixels; at most %3 x %3 can be opened")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(maxSide)}};
}

LoadedPicture InvalidPicture(const QString& reason)
{
    return {{}, AppError{ErrorNumber::BadFileFormat, QStringLiteral("Invalid picture: ") + reason}};
}

LoadedPicture CutOffRefusal()
{
    return InvalidPicture(QStringLiteral("The file ends before the picture does"));
}

int PictureAllocationLimitMiB(int maxSide)
{
    constexpr qint64 MarginMiB = 64;
    const qint64 side = maxSide;
    return static_cast<int>(((side * side * 4) >> 20) + MarginMiB);
}

QImage NewDecodedImage(QSize size, QImage::Format format)
{
    QImage image(size, format);
#ifdef __linux__
    // The pages wholly inside the pixels: the rest belongs to the allocator.
    constexpr quintptr Page = 4096;
    const auto start = (reinterpret_cast<quintptr>(image.constBits()) + Page - 1) & ~(Page - 1);
    const auto end = (reinterpret_cast<quintptr>(image.constBits()) + static_cast<quintptr>(image.sizeInBytes())) &
                     ~(Page - 1);
    if (!image.isNull() && end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
    return image;
}

void AllowLargePictures()
{
    QImageReader::setAllocationLimit(PictureAllocationLimitMiB(MaxPictureSide));
}

LoadedPicture DecodePicture(QIODevice& device, const QByteArray& formatHint, int maxSide, DecodeProgress* progress)
{
    const qint64 start = device.pos();
    const QByteArray head = device.peek(MetafileSignatureBytes);
    if (IsMetafileStart(head))
        return DecodeMetafile(device.readAll(), maxSide);

    // Qt refuses images beyond 256 MiB by default; a picture of the largest
    // side takes several times that.
    QImageReader::setAllocationLimit(PictureAllocationLimitMiB(maxSide));

    // The content decides first: a PNG named .jpg still opens. The hint
    // (the file's suffix) serves formats without a recognisable signature.
    std::optional<QImageReader> reader;
    reader.emplace(&device);
    reader->setDecideFormatFromContent(true);
    if (!reader->canRead()) {
        if (!device.seek(start))
            return InvalidPicture(reader->errorString());
        reader.emplace(&device, formatHint);
    }

    const QSize announced = reader->size();
    if (announced.isValid() && tooLarge(announced, maxSide))
        return TooLargeRefusal(announced, maxSide);

    const QByteArray format = reader->format();
    if (format == "jpeg" || format == "jpg") {
        device.seek(start);
        return DecodeJpeg(device.readAll(), maxSide, progress);
    }
    if (format == "png") {
        device.seek(start);
        return DecodePng(device, maxSide, progress);
    }
    QImage image;
    if (!reader->read(&image) || image.isNull())
        return InvalidPicture(reader->errorString());
    if (tooLarge(image.size(), maxSide))
        return TooLargeRefusal(image.size(), maxSide);
    device.seek(start);
    if (IsCutOff(device, format))
        return CutOffRefusal();
    return {{std::move(image), kindOf(format, head), {}}, std::nullopt};
}

LoadedPicture LoadPictureFile(const QString& path, int maxSide, DecodeProgress* progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, FileError(openFailureCause(QFileInfo(path)), path)};
    return DecodePicture(file, QFileInfo(path).suffix().toLower().toLatin1(), maxSide, progress);
}

} // namespace tracella
