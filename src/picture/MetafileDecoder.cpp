#include "picture/MetafileDecoder.h"

#include "picture/MetafileSaves.h"

#include <QImageReader>
#include <QtEndian>

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

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

// The frame a placeable header gives the picture, in the points (1/72 inch)
// that libwmf draws in; the drawing is placed in it rather than stretched
// to fill it.
std::optional<wmfD_Rect> placeableFrame(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < PlaceableHeaderBytes || qFromLittleEndian<quint32>(p) != PlaceableKey)
        return std::nullopt;
    const quint16 unitsPerInch = qFromLittleEndian<quint16>(p + 14);
    if (unitsPerInch == 0)
        return std::nullopt;
    const auto at = [p, unitsPerInch](int offset) {
        return static_cast<float>(qFromLittleEndian<qint16>(p + offset) * 72.0 / unitsPerInch);
    };
    wmfD_Rect frame{};
    frame.TL.x = std::min(at(6), at(10));
    frame.TL.y = std::min(at(8), at(12));
    frame.BR.x = std::max(at(6), at(10));
    frame.BR.y = std::max(at(8), at(12));
    if (frame.BR.x <= frame.TL.x || frame.BR.y <= frame.TL.y)
        return std::nullopt;
    return frame;
}

// libwmf's gd device strokes ellipses but never fills them; drawn as a
// polygon of many sides the ellipse gets the brush as well as the pen.
void drawEllipseAsPolygon(wmfAPI* api, wmfDrawArc_t* arc)
{
    constexpr int Sides = 720;
    const double cx = (arc->TL.x + arc->BR.x) / 2.0, cy = (arc->TL.y + arc->BR.y) / 2.0;
    const double rx = (arc->BR.x - arc->TL.x) / 2.0, ry = (arc->BR.y - arc->TL.y) / 2.0;
    std::vector<wmfD_Coord> points(Sides);
    for (int i = 0; i < Sides; ++i) {
        const double a = 2 * M_PI * i / Sides;
        points[static_cast<std::size_t>(i)] = {static_cast<float>(cx + rx * std::cos(a)),
                                               static_cast<float>(cy + ry * std::sin(a))};
    }
    wmfPolyLine_t polygon{arc->dc, points.data(), static_cast<U16>(Sides)};
    static_cast<wmfFunctionReference*>(api->function_reference)->draw_polygon(api, &polygon);
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
    std::optional<QByteArray> played = WithoutUnrestoredSaves(bytes);
    if (!played)
        return failure(ErrorNumber::BadFileFormat,
                       QStringLiteral("The metafile saves its drawing state more than %1 times over")
                           .arg(MaxNestedMetafileSaves));
    // libwmf reads from a mutable buffer, which must outlive the player.
    QByteArray data = std::move(*played);
    data.detach();
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
    static_cast<wmfFunctionReference*>(api->function_reference)->draw_ellipse = drawEllipseAsPolygon;

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
        return TooLargeRefusal(QSize(static_cast<int>(width), static_cast<int>(height)), maxSide);

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
    device->bbox = placeableFrame(bytes).value_or(box);
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
