#include "PictureSamples.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <vector>

#include <jpeglib.h>
#include <spng.h>

namespace tracella::test {
namespace {

// v as `count` bytes, the least significant first unless big-endian.
void put(QByteArray& b, quint64 v, int count, bool bigEndian = false)
{
    for (int i = 0; i < count; ++i)
        b.append(static_cast<char>(v >> (8 * (bigEndian ? count - 1 - i : i))));
}

// One metafile record: size in words, function, parameter words.
QByteArray record(quint16 function, const std::vector<quint16>& params)
{
    QByteArray r;
    put(r, static_cast<quint32>(3 + params.size()), 4);
    put(r, function, 2);
    for (quint16 p : params)
        put(r, p, 2);
    return r;
}

} // namespace

QByteArray EncodedWithQt(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray GifBytes(const QImage& source)
{
    // Qt keeps the colours exactly where there are at most 256.
    const QImage image = source.convertToFormat(QImage::Format_Indexed8);
    int tableBits = 1;
    while ((1 << tableBits) < image.colorCount())
        ++tableBits;
    QList<QRgb> palette = image.colorTable();
    palette.resize(1 << tableBits, qRgb(0, 0, 0));

    QByteArray gif("GIF89a");
    put(gif, image.width(), 2);
    put(gif, image.height(), 2);
    put(gif, 0xF0 | (tableBits - 1), 3); // global colour table, no background, square pixels
    for (QRgb c : palette)
        put(gif, c & 0xFFFFFF, 3, true);
    gif.append(',');
    put(gif, 0, 4);
    put(gif, image.width(), 2);
    put(gif, image.height(), 2);
    put(gif, 8 << 8, 2); // no local table; codes stay byte-sized whatever the table

    // Literal codes only, packed least significant bit first, with a clear
    // code often enough that the code width never grows past 9 bits.
    constexpr int Clear = 256, End = 257, Width = 9, CodesPerClear = 250;
    QByteArray data;
    quint32 bits = 0;
    int count = 0, sinceClear = CodesPerClear;
    const auto code = [&](int c) {
        for (bits |= static_cast<quint32>(c) << count, count += Width; count >= 8; bits >>= 8, count -= 8)
            data.append(static_cast<char>(bits & 0xFF));
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == CodesPerClear) {
                code(Clear);
                sinceClear = 0;
            }
            code(image.pixelIndex(x, y));
            ++sinceClear;
        }
    }
    code(End);
    if (count > 0)
        data.append(static_cast<char>(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif.append(static_cast<char>(block.size()));
        gif.append(block);
    }
    gif.append('\0');
    gif.append(';');
    return gif;
}

QByteArray MetafileBytes(QSize size, const std::vector<MetafileRectangle>& rectangles, quint16 unitsPerInch)
{
    constexpr quint16 SetWindowOrg = 0x020B, SetWindowExt = 0x020C, CreatePen = 0x02FA, CreateBrush = 0x02FC,
                      SelectObject = 0x012D, Rectangle = 0x041B, Ellipse = 0x0418, SaveDC = 0x001E,
                      RestoreDC = 0x0127, NullPen = 5;
    QByteArray records;
    records += record(SetWindowOrg, {0, 0});
    records += record(SetWindowExt,
                      {static_cast<quint16>(size.height()), static_cast<quint16>(size.width())});
    records += record(CreatePen, {NullPen, 0, 0, 0, 0}); // width 0, black
    records += record(SelectObject, {0});
    quint16 object = 1;
    for (const MetafileRectangle& r : rectangles) {
        const QByteArray save = record(SaveDC, {});
        records += save.repeated(r.savesBefore + r.nestedSaves);
        // A solid brush of the colour reference 0x00BBGGRR.
        records += record(CreateBrush, {0, static_cast<quint16>(r.colour.red() | r.colour.green() << 8),
                                        static_cast<quint16>(r.colour.blue()), 0});
        records += record(SelectObject, {object++});
        records += record(r.ellipse ? Ellipse : Rectangle, {static_cast<quint16>(r.rect.bottom() + 1), static_cast<quint16>(r.rect.right() + 1),
                                      static_cast<quint16>(r.rect.top()), static_cast<quint16>(r.rect.left())});
        records += record(RestoreDC, {0xFFFF}).repeated(r.nestedSaves); // -1: the latest saved state
    }
    records += record(0x0000, {}); // end of file

    // On disk, 9 header words, version 3.0; the words of the file, its objects, the largest record.
    QByteArray header;
    for (quint32 word : {1, 9, 0x0300})
        put(header, word, 2);
    put(header, static_cast<quint32>((18 + records.size()) / 2), 4);
    put(header, object, 2);
    put(header, 8, 6);

    // 96 units an inch: one unit a pixel at 96 dpi.
    QByteArray placeable;
    put(placeable, 0x9AC6CDD7, 4);
    for (quint32 word : {0, 0, 0, size.width(), size.height(), int(unitsPerInch), 0, 0})
        put(placeable, word, 2);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(placeable.constData() + 2 * i);
    put(placeable, checksum, 2);
    return placeable + header + records;
}

QByteArray JpegBytes(const QImage& source, const JpegLayout& layout)
{
    const QImage image = source.convertToFormat(layout.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = layout.grey ? 1 : 3;
    info.in_color_space = layout.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.restart_in_rows = layout.restartRows;
    if (layout.fullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (layout.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = const_cast<uchar*>(image.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    free(buffer);
    return bytes;
}

qsizetype JpegScanDataStart(const QByteArray& jpeg)
{
    const qsizetype sos = jpeg.indexOf("\xFF\xDA");
    return sos + 2 + ((static_cast<uchar>(jpeg[sos + 2]) << 8) | static_cast<uchar>(jpeg[sos + 3]));
}

QByteArray JpegWithEmptiedIntervals(const QByteArray& jpeg, const std::vector<int>& intervals)
{
    std::vector<qsizetype> markers; // stuffing keeps 0xFF 0xD0-0xD7 for markers
    for (qsizetype i = JpegScanDataStart(jpeg); i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == '\xFF' && (static_cast<uchar>(jpeg[i + 1]) & 0xF8) == 0xD0)
            markers.push_back(i);
    QByteArray damaged = jpeg;
    std::vector<int> fromTheBack = intervals; // so that positions stay valid
    std::sort(fromTheBack.rbegin(), fromTheBack.rend());
    for (const int k : fromTheBack) {
        if (static_cast<std::size_t>(k) + 1 >= markers.size())
            return {};
        const qsizetype from = markers[static_cast<std::size_t>(k)] + 2;
        damaged.remove(from, markers[static_cast<std::size_t>(k) + 1] - from);
    }
    return damaged;
}

QByteArray PngBytes(const PngLayout& layout, QSize size)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<uint32_t>(size.width());
    ihdr.height = static_cast<uint32_t>(size.height());
    ihdr.bit_depth = static_cast<uint8_t>(layout.depth);
    ihdr.color_type = static_cast<uint8_t>(layout.colourType);
    ihdr.interlace_method = layout.interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
    spng_set_ihdr(ctx, &ihdr);
    if (layout.filters)
        spng_set_option(ctx, SPNG_FILTER_CHOICE, layout.filters);
    const int levels = 1 << std::min(layout.depth, 8);
    spng_trns trns{};
    if (layout.colourType == 3) {
        spng_plte plte{};
        plte.n_entries = static_cast<uint32_t>(levels);
        for (int i = 0; i < levels; ++i) {
            plte.entries[i] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 91), 0};
            trns.type3_alpha[i] = static_cast<uint8_t>(255 - i * 255 / levels);
        }
        trns.n_type3_entries = static_cast<uint32_t>(levels / 2);
        spng_set_plte(ctx, &plte);
    }
    // Black is the transparent colour of grey and RGB pictures.
    if (layout.transparentColour)
        spng_set_trns(ctx, &trns);

    size_t bytes = 0;
    spng_decoded_image_size(ctx, SPNG_FMT_PNG, &bytes);
    const int channels = layout.colourType == 2 ? 3 : layout.colourType == 4 ? 2 : layout.colourType == 6 ? 4 : 1;
    const qsizetype rowBytes = (static_cast<qsizetype>(size.width()) * channels * layout.depth + 7) / 8;
    QByteArray raw(rowBytes * size.height(), '\0');
    quint32 noise = 12345;
    for (char& b : raw) {
        noise = noise * 1103515245u + 12345u;
        b = static_cast<char>(noise >> 16);
    }
    // Some black pixels, which tRNS makes transparent.
    if (layout.colourType != 3)
        for (qsizetype i = 0; i + rowBytes <= raw.size(); i += rowBytes * 3)
            std::fill_n(raw.data() + i, std::min<qsizetype>(rowBytes, 6 * channels), '\0');
    spng_encode_image(ctx, raw.constData(), static_cast<size_t>(raw.size()), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t length = 0;
    int error = 0;
    void* png = spng_get_png_buffer(ctx, &length, &error);
    QByteArray result = png ? QByteArray(static_cast<const char*>(png), static_cast<qsizetype>(length)) : QByteArray();
    std::free(png);
    spng_ctx_free(ctx);
    return result;
}

QImage CornerTestImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const int w = size.width() / 2, h = size.height() / 2;
    p.fillRect(0, 0, w, h, QColor(255, 0, 0));
    p.fillRect(w, 0, size.width() - w, h, QColor(0, 0, 255));
    p.fillRect(0, h, w, size.height() - h, QColor(0, 255, 0));
    return image;
}

} // namespace tracella::test
