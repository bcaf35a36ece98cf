#include "support/SampleFiles.h"

#include <QFile>
#include <QIODevice>

#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace tracella::bench {
namespace {

void putBigEndian(QByteArray& b, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.append(static_cast<char>(v >> shift));
}

bool writeChunk(QIODevice& out, const char* type, const QByteArray& data)
{
    QByteArray chunk;
    putBigEndian(chunk, static_cast<quint32>(data.size()));
    chunk.append(type, 4);
    chunk.append(data);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), static_cast<uInt>(4 + data.size()));
    putBigEndian(chunk, static_cast<quint32>(crc));
    return out.write(chunk) == chunk.size();
}

} // namespace

bool WritePngRows(QIODevice& out, QSize size, bool grey, const SampleRows& rows)
{
    QByteArray ihdr;
    putBigEndian(ihdr, static_cast<quint32>(size.width()));
    putBigEndian(ihdr, static_cast<quint32>(size.height()));
    ihdr.append(static_cast<char>(8));
    ihdr.append(static_cast<char>(grey ? 0 : 2));
    ihdr.append(3, '\0');
    if (out.write("\x89PNG\r\n\x1a\n", 8) != 8 || !writeChunk(out, "IHDR", ihdr))
        return false;

    z_stream z{};
    if (deflateInit(&z, Z_BEST_SPEED) != Z_OK)
        return false;
    const qsizetype rowBytes = static_cast<qsizetype>(size.width()) * (grey ? 1 : 3);
    QByteArray above(rowBytes, '\0'), row(rowBytes, '\0'), filtered(1 + rowBytes, '\2'), buffer(1 << 20, '\0');
    bool ok = true;
    for (int y = 0; y <= size.height() && ok; ++y) {
        const bool last = y == size.height();
        if (!last) {
            rows(y, reinterpret_cast<uchar*>(row.data()));
            for (qsizetype i = 0; i < rowBytes; ++i)
                filtered[1 + i] = static_cast<char>(row[i] - above[i]);
            std::swap(above, row);
        }
        z.next_in = last ? nullptr : reinterpret_cast<Bytef*>(filtered.data());
        z.avail_in = last ? 0 : static_cast<uInt>(filtered.size());
        int status = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = static_cast<uInt>(buffer.size());
            status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            const qsizetype produced = buffer.size() - z.avail_out;
            if (produced > 0)
                ok = ok && writeChunk(out, "IDAT", buffer.left(produced));
        } while (ok && (z.avail_out == 0 || (last && status != Z_STREAM_END)));
    }
    deflateEnd(&z);
    return ok && writeChunk(out, "IEND", {});
}

bool WriteRgbJpeg(const QString& path, QSize size, int quality, const SampleRows& rows)
{
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.image_width = static_cast<JDIMENSION>(size.width());
    info.image_height = static_cast<JDIMENSION>(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_stdio_dest(&info, file);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uchar> row(static_cast<std::size_t>(size.width()) * 3);
    while (info.next_scanline < info.image_height) {
        rows(static_cast<int>(info.next_scanline), row.data());
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace tracella::bench
