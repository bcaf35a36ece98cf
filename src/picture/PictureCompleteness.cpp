#include "picture/PictureCompleteness.h"

#include <QIODevice>
#include <QtEndian>

#include <cstdlib>

namespace tracella {
namespace {

bool bitmapCutOff(QIODevice& device, qint64 start)
{
    const QByteArray head = device.read(34);
    if (head.size() < 26 || !head.startsWith("BM"))
        return false;
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    const qint64 offset = qFromLittleEndian<quint32>(p + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width = 0, height = 0, bits = 0;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bits = qFromLittleEndian<quint16>(p + 24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = std::abs(static_cast<qint64>(qFromLittleEndian<qint32>(p + 18)));
        height = std::abs(static_cast<qint64>(qFromLittleEndian<qint32>(p + 22)));
        bits = qFromLittleEndian<quint16>(p + 28);
        const quint32 compression = qFromLittleEndian<quint32>(p + 30);
        constexpr quint32 Rgb = 0, BitFields = 3, AlphaBitFields = 6;
        if (compression != Rgb && compression != BitFields && compression != AlphaBitFields)
            return false; // run-length coded: its length says nothing
    } else {
        return false;
    }
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    const qint64 pixelBytes = device.size() - start - offset;
    if (pixelBytes < 0)
        return true;
    return rowBytes > 0 && pixelBytes / rowBytes < height;
}

// Skips a chain of data sub-blocks; false when the file ends inside it.
bool skipSubBlocks(QIODevice& device)
{
    for (;;) {
        char length = 0;
        if (!device.getChar(&length))
            return false;
        const auto n = static_cast<uchar>(length);
        if (n == 0)
            return true;
        if (device.skip(n) != n)
            return false;
    }
}

bool skipColourTable(QIODevice& device, uchar packed)
{
    if (!(packed & 0x80))
        return true;
    const qint64 bytes = 3LL << ((packed & 7) + 1);
    return device.skip(bytes) == bytes;
}

bool gifCutOff(QIODevice& device)
{
    const QByteArray head = device.read(13);
    if (head.size() < 13 || !skipColourTable(device, static_cast<uchar>(head[10])))
        return true;
    for (;;) {
        char block = 0;
        if (!device.getChar(&block))
            return true;
        if (block == 0x21) { // extension: label, then data
            if (!device.skip(1) || !skipSubBlocks(device))
                return true;
        } else if (block == 0x2C) { // the first image
            const QByteArray descriptor = device.read(9);
            if (descriptor.size() < 9 || !skipColourTable(device, static_cast<uchar>(descriptor[8])) ||
                !device.skip(1))
                return true;
            return !skipSubBlocks(device);
        } else {
            return false; // trailer or not a GIF block: the decoder judges
        }
    }
}

} // namespace

bool IsCutOff(QIODevice& device, const QByteArray& format)
{
    const qint64 start = device.pos();
    bool cutOff = false;
    if (format == "bmp" || format == "dib")
        cutOff = bitmapCutOff(device, start);
    else if (format == "gif")
        cutOff = gifCutOff(device);
    device.seek(start);
    return cutOff;
}

} // namespace tracella
