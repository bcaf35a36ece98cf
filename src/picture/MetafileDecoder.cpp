#include "picture/MetafileDecoder.h"

#include <QImageReader>
#include <QtEndian>

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <memory>

namespace tracella {
namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr qsizetype PlaceableHeaderBytes = 22;
constexpr qsizetype MetafileHeaderBytes = 18;

struct ApiDeleter {
    void operator()(wmfAPI* api) const
    {
        wmf_mem_close(api);
        wmf_api_destroy(api);
    }
};
using Api = std::unique_ptr<wmfAPI, ApiDeleter>;

QString describe(wmf_error_t error)
{
    switch (error) {
    case wmf_E_InsMem: return QStringLiteral("Out of memory while reading the metafile");
    case wmf_E_EOF: return QStringLiteral("The metafile ends too early");
    case wmf_E_BadFile:
    case wmf_E_BadFormat: return QStringLiteral("The metafile is damaged");
    default: return QStringLiteral("The metafile cannot be drawn");
    }
}

LoadedPicture failure(long number, const QString& description)
{
    return {{}, AppError{number, description}};
}

// libwmf sizes its record buffer by the header's largest record before
// reading any; a record larger than the whole file marks a damaged header.
bool headerFitsFile(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype start =
        bytes.size() >= 4 && qFromLittleEndian<quint32>(p) == PlaceableKey ? PlaceableHeaderBytes : 0;
    if (bytes.size() < start + MetafileHeaderBytes)
        return false;
    const qint64 largestRecordBytes = 2 * static_cast<qint64>(qFromLittleEndian<quint32>(p + start + 12));
    return largestRecordBytes <= bytes.size() - start;
}

int collectPng(void* context, char* buffer, int length)
{
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

} // namespace

bool IsMetafileStart(const QByteArray& head)
{
    if (head.size() < MetafileSignatureBytes)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    if (qFromLittleEndian<quint32>(p) == PlaceableKey)
        return true;
    const quint16 type = qFromLittleEndian<quint16>(p);
    const quint16 headerWords = qFromLittleEndian<quint16>(p + 2);
    const quint16 version = qFromLittleEndian<quint16>(p + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

LoadedPicture DecodeMetafile(const QByteArray& bytes, int maxSide)
{
    if (!headerFitsFile(bytes))
        return failure(ErrorNumber::BadFileFormat, describe(wmf_E_BadFormat));
    // libwmf reads from a mutable buffer, which must outlive the player.
    QByteArray data(bytes.constData(), bytes.size());
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    // Unknown records are skipped as a metafile player does; nothing goes to stderr.
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* created = nullptr;
    if (wmf_api_create(&created, flags, &options) != wmf_E_None) {
        if (created)
            wmf_api_destroy(created);
        return failure(ErrorNumber::OutOfMemory, describe(wmf_E_InsMem));
    }
    Api api(created);

    wmf_error_t error = wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(data.data()), data.size());
    wmfD_Rect box{};
    if (error == wmf_E_None)
        error = wmf_scan(api.get(), 0, &box);
    unsigned int width = 0, height = 0;
    if (error == wmf_E_None)
        error = wmf_display_size(api.get(), &width, &height, MetafileDotsPerInch, MetafileDotsPerInch);
    if (error != wmf_E_None)
        return failure(ErrorNumber::BadFileFormat, describe(error));
    if (width == 0 || height == 0)
        return failure(ErrorNumber::BadFileFormat, QStringLiteral("The metafile has no size"));
    if (width > static_cast<unsigned>(maxSide) || height > static_cast<unsigned>(maxSide))
        return failure(ErrorNumber::PictureTooLarge,
                       QStringLiteral("The picture is %1 x %2 pixels; at most %3 x %3 can be opened")
                           .arg(width)
                           .arg(height)
                           .arg(maxSide));

    // The drawing comes out as PNG bytes: a gd image handed over as such
    // could not be freed, as libwmf keeps gd's functions to itself.
    QByteArray png;
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    if (!(device->flags & WMF_GD_SUPPORTS_PNG))
        return failure(ErrorNumber::BadFileFormat, describe(wmf_E_DeviceError));
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = collectPng;
    device->bbox = box;
    device->width = width;
    device->height = height;
    error = wmf_play(api.get(), 0, &box);
    if (error != wmf_E_None)
        return failure(ErrorNumber::BadFileFormat, describe(error));

    QImageReader::setAllocationLimit(PictureAllocationLimitMiB(maxSide));
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        return failure(ErrorNumber::OutOfMemory, describe(wmf_E_InsMem));
    image = image.convertToFormat(QImage::Format_RGB32);
    return {{std::move(image), PictureKind::Metafile, bytes}, std::nullopt};
}

} // namespace tracella
