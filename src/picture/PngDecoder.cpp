#include "picture/PngDecoder.h"

#include "picture/PlainPngDecoder.h"
#include "picture/SecondThread.h"

#include <QIODevice>
#include <QImage>
#include <QtEndian>

#include <spng.h>

#include <array>
#include <memory>
#include <vector>

namespace tracella {
namespace {

constexpr int Grey = 0, Palette = 3, AlphaBit = 4;

struct ContextDeleter {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

int readDevice(spng_ctx*, void* user, void* destination, size_t length)
{
    auto* device = static_cast<QIODevice*>(user);
    auto* out = static_cast<char*>(destination);
    while (length > 0) {
        const qint64 got = device->read(out, static_cast<qint64>(length));
        if (got <= 0)
            return SPNG_IO_EOF;
        out += got;
        length -= static_cast<size_t>(got);
    }
    return 0;
}

// What each decoded row still needs to be in Qt's layout.
enum class RowFix { None, SwapRedBlue, InvertBits, Unpack, FromRgb };

struct Plan {
    QImage::Format format = QImage::Format_Invalid;
    int spngFormat = SPNG_FMT_PNG;
    int flags = 0;
    RowFix fix = RowFix::None;
    QList<QRgb> colours;
    bool clampIndices = false;
};

// The choices of Qt's PNG reader, one for one.
Plan planFor(spng_ctx* ctx, const spng_ihdr& ihdr)
{
    spng_trns trns{};
    const bool hasTrns = spng_get_trns(ctx, &trns) == 0;
    const int depth = ihdr.bit_depth;
    Plan plan;
    if (ihdr.color_type == Grey) {
        if (depth == 1) {
            plan.format = QImage::Format_Mono;
            plan.fix = RowFix::InvertBits;
            plan.colours = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
            if (hasTrns && trns.gray == 0)
                plan.colours[1] = qRgba(0, 0, 0, 0);
            else if (hasTrns && trns.gray == 1)
                plan.colours[0] = qRgba(255, 255, 255, 0);
        } else if (depth == 16 && !hasTrns) {
            plan.format = QImage::Format_Grayscale16;
        } else if (depth == 16) {
            plan.format = QImage::Format_RGBA64;
            plan.spngFormat = SPNG_FMT_RGBA16;
            plan.flags = SPNG_DECODE_TRNS;
        } else if (depth == 8 && !hasTrns) {
            plan.format = QImage::Format_Grayscale8;
        } else {
            plan.format = QImage::Format_Indexed8;
            plan.fix = depth < 8 ? RowFix::Unpack : RowFix::None;
            const int count = depth < 8 ? 1 << depth : 256;
            for (int i = 0; i < count; ++i) {
                const int c = i * 255 / (count - 1);
                plan.colours.push_back(qRgb(c, c, c));
            }
            if (hasTrns && trns.gray < count)
                plan.colours[trns.gray] = 0;
        }
        return plan;
    }
    if (ihdr.color_type == Palette) {
        spng_plte plte{};
        if (spng_get_plte(ctx, &plte) != 0)
            return plan;
        plan.format = depth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
        plan.fix = depth == 1 || depth == 8 ? RowFix::None : RowFix::Unpack;
        plan.clampIndices = plan.format == QImage::Format_Indexed8;
        const int count = plan.format == QImage::Format_Mono ? 2 : static_cast<int>(plte.n_entries);
        plan.colours = QList<QRgb>(count, 0);
        for (int i = 0; i < count && i < static_cast<int>(plte.n_entries); ++i) {
            const int alpha = hasTrns && i < static_cast<int>(trns.n_type3_entries) ? trns.type3_alpha[i] : 255;
            plan.colours[i] = qRgba(plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue, alpha);
        }
        return plan;
    }
    const bool alpha = (ihdr.color_type & AlphaBit) || hasTrns;
    plan.flags = hasTrns ? SPNG_DECODE_TRNS : 0;
    if (depth == 16) {
        plan.format = alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
        plan.spngFormat = SPNG_FMT_RGBA16;
    } else {
        plan.format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        // libspng widens RGB a pixel at a time, slowly: its rows are taken
        // as they are where the layout allows, and widened here.
        const bool rgb = ihdr.color_type == 2 && !hasTrns && ihdr.interlace_method == SPNG_INTERLACE_NONE;
        const bool rgba = ihdr.color_type == 6;
        plan.spngFormat = rgb || rgba ? SPNG_FMT_PNG : SPNG_FMT_RGBA8;
        plan.fix = rgb ? RowFix::FromRgb : RowFix::SwapRedBlue;
    }
    return plan;
}

// RGBA bytes into QImage's 0xAARRGGBB words.
void swapRedBlue(uchar* row, int width)
{
    auto* pixel = reinterpret_cast<quint32*>(row);
    for (int x = 0; x < width; ++x) {
        const quint32 rgba = qFromLittleEndian(pixel[x]); // bytes R, G, B, A
        pixel[x] = (rgba & 0xff00ff00u) | ((rgba & 0xffu) << 16) | ((rgba >> 16) & 0xffu);
    }
}

// RGB bytes into QImage's 0xffRRGGBB words.
void widenRgb(const uchar* in, uchar* row, int width)
{
    auto* pixel = reinterpret_cast<quint32*>(row);
    for (int x = 0; x < width; ++x, in += 3)
        pixel[x] = 0xff000000u | (quint32{in[0]} << 16) | (quint32{in[1]} << 8) | in[2];
}

// Packed 2- and 4-bit indices into a byte each, from the back so the row
// can be widened where it lies.
void unpack(uchar* row, int width, int depth)
{
    const int mask = (1 << depth) - 1;
    for (int x = width - 1; x >= 0; --x) {
        const int bit = x * depth;
        row[x] = static_cast<uchar>((row[bit / 8] >> (8 - depth - bit % 8)) & mask);
    }
}

void fixRow(const Plan& plan, RowFix fix, QImage& image, int y, int depth)
{
    uchar* row = image.scanLine(y);
    const int width = image.width();
    switch (fix) {
    case RowFix::SwapRedBlue:
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
            swapRedBlue(row, width);
        break;
    case RowFix::InvertBits:
        for (int i = 0; i < (width + 7) / 8; ++i)
            row[i] = static_cast<uchar>(~row[i]);
        break;
    case RowFix::Unpack: unpack(row, width, depth); break;
    case RowFix::FromRgb: // widened on the way in
    case RowFix::None: break;
    }
    if (plan.clampIndices) {
        const auto count = static_cast<uchar>(plan.colours.size() - 1);
        for (int x = 0; x < width; ++x)
            if (row[x] > count)
                row[x] = 0;
    }
}

constexpr std::array<int, 7> RowStart{0, 0, 4, 0, 2, 0, 1}, RowStep{8, 8, 8, 4, 4, 2, 2};
constexpr std::array<int, 7> ColumnStart{0, 4, 0, 2, 0, 1, 0}, ColumnStep{8, 8, 4, 4, 2, 2, 1};

// Rows of all seven passes of an interlaced picture, for the progress.
int interlacedRows(int width, int height)
{
    int rows = 0;
    for (std::size_t pass = 0; pass < 7; ++pass)
        if (width > ColumnStart[pass] && height > RowStart[pass])
            rows += (height - RowStart[pass] + RowStep[pass] - 1) / RowStep[pass];
    return rows;
}

// libspng spreads interlaced pixels of under 8 bits wrongly: the pixels of
// one pass's scanline are put in place here, already in Qt's layout.
void placePassPixels(const uchar* in, const spng_row_info& row, const Plan& plan, QImage& image, int depth)
{
    const auto pass = static_cast<std::size_t>(row.pass);
    uchar* out = image.scanLine(static_cast<int>(row.row_num));
    const int mask = (1 << depth) - 1;
    const bool mono = plan.format == QImage::Format_Mono;
    const bool invert = plan.fix == RowFix::InvertBits;
    for (int x = ColumnStart[pass], i = 0; x < image.width(); x += ColumnStep[pass], ++i) {
        const int bit = i * depth;
        const int value = (in[bit / 8] >> (8 - depth - bit % 8)) & mask;
        if (!mono) {
            out[x] = static_cast<uchar>(value);
            continue;
        }
        const auto m = static_cast<uchar>(0x80 >> (x % 8));
        out[x / 8] = static_cast<uchar>((value != 0) != invert ? out[x / 8] | m : out[x / 8] & ~m);
    }
}

LoadedPicture damaged()
{
    return InvalidPicture(PngDamageReason());
}

Context openStream(QIODevice& device)
{
    Context ctx(spng_ctx_new(0));
    if (ctx) {
        // As libpng: a damaged picture chunk is fatal, a damaged note is dropped.
        spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
        spng_set_png_stream(ctx.get(), readDevice, &device);
    }
    return ctx;
}

// The channels of a PNG the plain road decodes, or 0.
int plainChannels(const spng_ihdr& ihdr, const Plan& plan)
{
    if (ihdr.bit_depth != 8 || ihdr.interlace_method != SPNG_INTERLACE_NONE)
        return 0;
    if (ihdr.color_type == Grey && plan.format == QImage::Format_Grayscale8)
        return 1;
    if (plan.fix == RowFix::FromRgb)
        return 3;
    return ihdr.color_type == (2 | AlphaBit) ? 4 : 0;
}

} // namespace

QString PngDamageReason()
{
    return QStringLiteral("Unable to read image data");
}

LoadedPicture DecodePng(QIODevice& device, int maxSide, DecodeProgress* progress)
{
    const qint64 start = device.pos();
    Context ctx = openStream(device);
    if (!ctx)
        return {{}, AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")}};

    spng_ihdr ihdr{};
    if (spng_get_ihdr(ctx.get(), &ihdr) != 0)
        return damaged();
    const QSize size(static_cast<int>(std::min<quint32>(ihdr.width, INT_MAX)),
                     static_cast<int>(std::min<quint32>(ihdr.height, INT_MAX)));
    if (size.width() > maxSide || size.height() > maxSide)
        return TooLargeRefusal(size, maxSide);
    const Plan plan = planFor(ctx.get(), ihdr);
    size_t imageBytes = 0;
    if (plan.format == QImage::Format_Invalid || spng_decoded_image_size(ctx.get(), plan.spngFormat, &imageBytes) != 0)
        return damaged();
    const size_t rowBytes = imageBytes / ihdr.height;

    QImage image = NewDecodedImage(size, plan.format);
    if (image.isNull())
        return {{}, AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")}};
    if (!plan.colours.isEmpty())
        image.setColorTable(plan.colours);

    const bool interlaced = ihdr.interlace_method != SPNG_INTERLACE_NONE;
    if (progress)
        progress->setRows(interlaced ? interlacedRows(size.width(), size.height()) : size.height());
    if (const int channels = plainChannels(ihdr, plan); channels > 0 && !device.isSequential()) {
        // libspng first vouches for every chunk before the image data.
        const bool twoThreads = SecondThreadPays(size.width(), size.height());
        const PlainPng plain = spng_decode_chunks(ctx.get()) == 0
                                   ? DecodePlainPng(device, start, channels, image, progress, twoThreads)
                                   : PlainPng::NotTaken;
        if (plain == PlainPng::Decoded)
            return {{std::move(image), PictureKind::Bitmap, {}}, std::nullopt};
        if (plain == PlainPng::Cancelled)
            return {};
        // Unusual or damaged: libspng reads it again from the start.
        if (!device.seek(start) || !(ctx = openStream(device)) || spng_get_ihdr(ctx.get(), &ihdr) != 0)
            return damaged();
    }

    if (spng_decode_image(ctx.get(), nullptr, 0, plan.spngFormat, plan.flags | SPNG_DECODE_PROGRESSIVE) != 0)
        return damaged();
    const bool placeHere = interlaced && ihdr.bit_depth < 8;
    const bool widen = plan.fix == RowFix::FromRgb;
    std::vector<uchar> scanline(placeHere || widen ? rowBytes : 0);
    int status = 0;
    for (int done = 1; status == 0; ++done) {
        spng_row_info row{};
        status = spng_get_row_info(ctx.get(), &row);
        if (status != 0)
            break;
        const int y = static_cast<int>(row.row_num);
        if (placeHere) {
            status = spng_decode_scanline(ctx.get(), scanline.data(), rowBytes);
            if (status == 0 || status == SPNG_EOI)
                placePassPixels(scanline.data(), row, plan, image, ihdr.bit_depth);
        } else if (widen) {
            status = spng_decode_row(ctx.get(), scanline.data(), rowBytes);
            if (status == 0 || status == SPNG_EOI)
                widenRgb(scanline.data(), image.scanLine(y), size.width());
        } else {
            status = spng_decode_row(ctx.get(), image.scanLine(y), rowBytes);
            if (!interlaced && (status == 0 || status == SPNG_EOI))
                fixRow(plan, plan.fix, image, y, ihdr.bit_depth);
        }
        if (progress) {
            progress->setRowsDone(done);
            if (progress->cancel().isCancelled())
                return {};
        }
    }
    // The chunks after the picture, to its end, as Qt reads them.
    if (status != SPNG_EOI || spng_decode_chunks(ctx.get()) != 0)
        return damaged();
    if (interlaced)
        for (int y = 0; y < size.height(); ++y)
            fixRow(plan, placeHere ? RowFix::None : plan.fix, image, y, ihdr.bit_depth);
    return {{std::move(image), PictureKind::Bitmap, {}}, std::nullopt};
}

} // namespace tracella
