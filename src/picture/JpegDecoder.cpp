#include "picture/JpegDecoder.h"

#include <QImage>
#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
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

struct Decoding {
    Errors errors;
    jpeg_decompress_struct info{};
    std::vector<JSAMPLE> row;
    QImage image;
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

// Every libjpeg call that may long-jump back here runs in this function,
// which holds no object of its own that a jump would skip.
bool decode(Decoding& d, const QByteArray& bytes, int maxSide, bool& tooLarge, DecodeProgress* progress)
{
    if (setjmp(d.errors.escape))
        return false;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    if (d.info.image_width > static_cast<JDIMENSION>(maxSide) ||
        d.info.image_height > static_cast<JDIMENSION>(maxSide)) {
        tooLarge = true;
        return false;
    }
    const QImage::Format format = outputFormat(d.info);
    jpeg_start_decompress(&d.info);
    const JDIMENSION width = d.info.output_width;
    const bool cmyk = d.info.out_color_space == JCS_CMYK;
    d.row.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(d.info.output_components));
    if (progress)
        progress->setRows(static_cast<int>(d.info.output_height));
    while (d.info.output_scanline < d.info.output_height) {
        const int y = static_cast<int>(d.info.output_scanline);
        // Rows go straight into the picture once it exists; CMYK needs its own pass.
        JSAMPROW row = y == 0 || cmyk ? d.row.data() : d.image.scanLine(y);
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            giveUp(reinterpret_cast<j_common_ptr>(&d.info), Damage::CutOff);
        // Only once the first row has come through whole: a file whose
        // data stops at once never costs the memory of its claimed size.
        if (y == 0) {
            d.image = NewDecodedImage(QSize(static_cast<int>(width), static_cast<int>(d.info.output_height)), format);
            if (d.image.isNull())
                return false;
        }
        if (cmyk)
            putCmykRow(row, reinterpret_cast<QRgb*>(d.image.scanLine(y)), width);
        else if (y == 0)
            std::copy(d.row.begin(), d.row.end(), d.image.scanLine(y));
        if (progress) {
            progress->setRowsDone(y + 1);
            if (progress->cancel().isCancelled())
                return false;
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

LoadedPicture DecodeJpeg(const QByteArray& bytes, int maxSide, DecodeProgress* progress)
{
    Decoding d;
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = onError;
    d.errors.manager.emit_message = onMessage;
    jpeg_create_decompress(&d.info);
    bool tooLarge = false;
    const bool decoded = decode(d, bytes, maxSide, tooLarge, progress);
    const QSize claimed(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
    jpeg_destroy_decompress(&d.info);

    if (decoded)
        return {{std::move(d.image), PictureKind::Bitmap, {}}, std::nullopt};
    if (progress && progress->cancel().wasCancelled())
        return {};
    if (tooLarge)
        return TooLargeRefusal(claimed, maxSide);
    switch (d.errors.damage) {
    case Damage::CutOff: return CutOffRefusal();
    case Damage::Corrupt: return InvalidPicture(QStringLiteral("The picture's data is damaged"));
    case Damage::Fatal: return InvalidPicture(QString::fromLatin1(d.errors.message));
    case Damage::None: break;
    }
    return {{}, AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")}};
}

} // namespace tracella
