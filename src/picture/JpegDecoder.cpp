#include "picture/JpegDecoder.h"

#include "picture/SecondThread.h"

#include <QImage>
#include <QSysInfo>

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include <jpeglib.h>
// after jpeglib.h, whose configuration decides which messages exist
#include <jerror.h>

namespace tracella {
namespace {

enum class Damage { None, CutOff, Corrupt, Fatal };

struct Errors {
    jpeg_error_mgr manager{}; // first, so libjpeg's pointer to it leads back here
    std::jmp_buf escape{};
    Damage damage = Damage::None;
    int corruptions = 0;
    char message[JMSG_LENGTH_MAX] = {};
};

// Where the bottom half starts, as a share of the rows: its decompressor
// reads through the top half's data as well, though without turning it into
// pixels, so it gets the smaller half.
constexpr double TopShare = 0.55;

struct Decompressor {
    Decompressor();
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    Errors errors;
    jpeg_decompress_struct info{};
};

// A baseline JPEG's bottom half, decoded by a second decompressor that
// skips to its first row while the first decompressor decodes the top.
struct BottomHalf {
    Decompressor decompressor;
    int from = 0;
    bool done = false;
    std::thread thread;
};

struct Decoding {
    ~Decoding() { stopBottom(); }
    void stopBottom()
    {
        stop = true;
        if (bottom && bottom->thread.joinable())
            bottom->thread.join();
    }

    // Rows are found from the picture's first byte: QImage's own row
    // lookup counts detaches, which two threads must not do at once.
    JSAMPROW rowOf(int y) const { return pixels + static_cast<qsizetype>(y) * stride; }

    Decompressor top;
    std::vector<JSAMPLE> row;
    QImage image;
    JSAMPROW pixels = nullptr;
    qsizetype stride = 0;
    std::optional<BottomHalf> bottom;
    // Set when either half fails or is given up, so that the other stops.
    std::atomic<bool> stop{false};
};

Errors& errorsOf(j_common_ptr info)
{
    return *reinterpret_cast<Errors*>(info->err);
}

[[noreturn]] void giveUp(j_common_ptr info, Damage damage)
{
    Errors& e = errorsOf(info);
    e.damage = damage;
    std::longjmp(e.escape, 1);
}

[[noreturn]] void onError(j_common_ptr info)
{
    (*info->err->format_message)(info, errorsOf(info).message);
    giveUp(info, Damage::Fatal);
}

bool isRestartMarker(int marker)
{
    return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7;
}

// Warnings are libjpeg's only word that the data ended or went bad; it goes
// on with made-up pixels after them.
void onMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace output
    Errors& e = errorsOf(info);
    switch (info->err->msg_code) {
    case JWRN_JPEG_EOF: giveUp(info, Damage::CutOff);
    case JWRN_HIT_MARKER:
        // Data that stops at a restart marker is one bad interval; at any
        // other marker the picture's data has run out.
        if (!isRestartMarker(reinterpret_cast<j_decompress_ptr>(info)->unread_marker))
            giveUp(info, Damage::CutOff);
        [[fallthrough]];
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        if (++e.corruptions > TolerableJpegCorruptions)
            giveUp(info, Damage::Corrupt);
        break;
    default: break; // remarks on markers and colour spaces
    }
}

QImage::Format outputFormat(jpeg_decompress_struct& info)
{
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; return QImage::Format_Grayscale8;
    case JCS_CMYK:
    case JCS_YCCK: info.out_color_space = JCS_CMYK; return QImage::Format_RGB32;
    default:
        // Straight into QImage's 0xffRRGGBB words.
        info.out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        return QImage::Format_RGB32;
    }
}

// CMYK JPEGs come from Adobe's programs, which store the inks inverted.
void putCmykRow(const JSAMPLE* in, QRgb* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
    }
}

Decompressor::Decompressor()
{
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
    jpeg_create_decompress(&info);
}

void readFrom(jpeg_decompress_struct& info, const QByteArray& bytes)
{
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
}

// The first row of the bottom half, or 0 to decode on one thread: only a
// single scan can be skipped through without decoding it, and CMYK keeps
// the road it was proved on. The split falls on a row of whole blocks.
int splitRow(jpeg_decompress_struct& info, JpegThreads threads)
{
    if (threads == JpegThreads::One || jpeg_has_multiple_scans(&info) || info.out_color_space == JCS_CMYK)
        return 0;
    if (threads == JpegThreads::Auto && !SecondThreadPays(info.output_width, info.output_height))
        return 0;
    const int blockRows = info.max_v_samp_factor * info.min_DCT_scaled_size;
    const int from = static_cast<int>(info.output_height * TopShare) / blockRows * blockRows;
    return from < static_cast<int>(info.output_height) ? from : 0;
}

bool stopped(const Decoding& d, DecodeProgress* progress)
{
    return d.stop || (progress && progress->cancel().wasCancelled());
}

// The bottom half's libjpeg calls, on its own thread and with its own
// escape; rows go straight into the picture the top half made.
bool decodeBottom(Decoding& d, const QByteArray& bytes, DecodeProgress* progress)
{
    jpeg_decompress_struct& info = d.bottom->decompressor.info;
    if (setjmp(d.bottom->decompressor.errors.escape))
        return false;
    readFrom(info, bytes);
    jpeg_read_header(&info, TRUE);
    outputFormat(info);
    jpeg_start_decompress(&info);
    const auto from = static_cast<JDIMENSION>(d.bottom->from);
    // Skipping reads the top half's data as one thread would, so damage
    // there is met here too, and counted as the one thread counts it.
    if (jpeg_skip_scanlines(&info, from) != from)
        giveUp(reinterpret_cast<j_common_ptr>(&info), Damage::CutOff);
    while (info.output_scanline < info.output_height) {
        if (stopped(d, progress))
            return false;
        JSAMPROW row = d.rowOf(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            giveUp(reinterpret_cast<j_common_ptr>(&info), Damage::CutOff);
        if (progress)
            progress->addRowsDone(1);
    }
    // Data that ends before its end marker is refused on one thread too.
    jpeg_finish_decompress(&info);
    return true;
}

void startBottom(Decoding& d, const QByteArray& bytes, int from, DecodeProgress* progress)
{
    d.bottom.emplace();
    d.bottom->from = from;
    try {
        d.bottom->thread = std::thread([&d, &bytes, progress] {
            d.bottom->done = decodeBottom(d, bytes, progress);
            if (!d.bottom->done)
                d.stop = true;
        });
    } catch (const std::system_error&) {
        d.bottom.reset(); // no thread to be had: the top decodes it all
    }
}

// Every libjpeg call of the top half that may long-jump back here runs in
// this function, which holds no object of its own that a jump would skip.
bool decodeTop(Decoding& d, const QByteArray& bytes, int maxSide, bool& tooLarge, DecodeProgress* progress,
               JpegThreads threads)
{
    jpeg_decompress_struct& info = d.top.info;
    if (setjmp(d.top.errors.escape))
        return false;
    readFrom(info, bytes);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > static_cast<JDIMENSION>(maxSide) || info.image_height > static_cast<JDIMENSION>(maxSide)) {
        tooLarge = true;
        return false;
    }
    const QImage::Format format = outputFormat(info);
    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    d.row.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(info.output_components));
    if (progress)
        progress->setRows(static_cast<int>(info.output_height));
    while (info.output_scanline < (d.bottom ? static_cast<JDIMENSION>(d.bottom->from) : info.output_height)) {
        const int y = static_cast<int>(info.output_scanline);
        // Rows go straight into the picture once it exists; CMYK needs its own pass.
        JSAMPROW row = y == 0 || cmyk ? d.row.data() : d.rowOf(y);
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            giveUp(reinterpret_cast<j_common_ptr>(&info), Damage::CutOff);
        // Only once the first row has come through whole: a file whose
        // data stops at once never costs the memory of its claimed size.
        if (y == 0) {
            d.image = NewDecodedImage(QSize(static_cast<int>(width), static_cast<int>(info.output_height)), format);
            if (d.image.isNull())
                return false;
            d.pixels = d.image.bits();
            d.stride = d.image.bytesPerLine();
            if (const int from = splitRow(info, threads))
                startBottom(d, bytes, from, progress);
        }
        if (cmyk)
            putCmykRow(row, reinterpret_cast<QRgb*>(d.rowOf(y)), width);
        else if (y == 0)
            std::copy(d.row.begin(), d.row.end(), d.rowOf(y));
        if (progress) {
            progress->addRowsDone(1);
            if (progress->cancel().isCancelled())
                return false;
        }
        if (d.stop)
            return false;
    }
    // The bottom half's decompressor reads on to the end marker.
    if (!d.bottom)
        jpeg_finish_decompress(&info);
    return true;
}

} // namespace

LoadedPicture DecodeJpeg(const QByteArray& bytes, int maxSide, DecodeProgress* progress, JpegThreads threads)
{
    Decoding d;
    bool tooLarge = false;
    const bool topDone = decodeTop(d, bytes, maxSide, tooLarge, progress, threads);
    if (!topDone)
        d.stopBottom();
    else if (d.bottom)
        d.bottom->thread.join();
    const QSize claimed(static_cast<int>(d.top.info.image_width), static_cast<int>(d.top.info.image_height));

    if (topDone && (!d.bottom || d.bottom->done))
        return {{std::move(d.image), PictureKind::Bitmap, {}}, std::nullopt};
    if (progress && progress->cancel().wasCancelled())
        return {};
    if (tooLarge)
        return TooLargeRefusal(claimed, maxSide);
    // The top half met any damage in its rows first, as one thread would;
    // the bottom half's decompressor has read all the data before its own.
    const Errors& errors =
        d.top.errors.damage == Damage::None && d.bottom ? d.bottom->decompressor.errors : d.top.errors;
    switch (errors.damage) {
    case Damage::CutOff: return CutOffRefusal();
    case Damage::Corrupt: return InvalidPicture(QStringLiteral("The picture's data is damaged"));
    case Damage::Fatal: return InvalidPicture(QString::fromLatin1(errors.message));
    case Damage::None: break;
    }
    return {{}, AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")}};
}

} // namespace tracella
