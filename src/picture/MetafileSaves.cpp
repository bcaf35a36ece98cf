#include "picture/MetafileSaves.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace tracella {
namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr qsizetype PlaceableHeaderBytes = 22;
constexpr qsizetype SizeFieldOffset = 6; // the whole file's length in words, in the metafile header
constexpr quint16 EndOfFile = 0x0000, SaveDC = 0x001E, RestoreDC = 0x0127;

struct Record {
    qsizetype at;
    qsizetype length;
    quint16 function;
};

std::vector<Record> recordsOf(const QByteArray& bytes, qsizetype headerStart)
{
    std::vector<Record> records;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < headerStart + SizeFieldOffset + 4)
        return records;
    qsizetype at = headerStart + 2 * static_cast<qsizetype>(qFromLittleEndian<quint16>(p + headerStart + 2));
    while (at + 6 <= size) {
        const qint64 length = 2 * static_cast<qint64>(qFromLittleEndian<quint32>(p + at));
        const quint16 function = qFromLittleEndian<quint16>(p + at + 4);
        if (length < 6 || length > size - at || function == EndOfFile)
            break;
        records.push_back({at, static_cast<qsizetype>(length), function});
        at += length;
    }
    return records;
}

} // namespace

std::optional<QByteArray> WithoutUnrestoredSaves(const QByteArray& metafile)
{
    const qsizetype headerStart =
        metafile.size() >= 4 && qFromLittleEndian<quint32>(metafile.constData()) == PlaceableKey
            ? PlaceableHeaderBytes
            : 0;
    const std::vector<Record> records = recordsOf(metafile, headerStart);

    std::vector<bool> restored(records.size(), false);
    std::vector<std::size_t> saved; // indices of the SaveDC records still saved
    int depth = 0, deepest = 0;     // of the saves that get restored
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].function == SaveDC) {
            saved.push_back(i);
        } else if (records[i].function == RestoreDC && !saved.empty()) {
            restored[saved.back()] = true;
            saved.pop_back();
        }
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].function == SaveDC && restored[i])
            deepest = std::max(deepest, ++depth);
        else if (records[i].function == RestoreDC && depth > 0)
            --depth;
    }
    if (deepest > MaxNestedMetafileSaves)
        return std::nullopt;
    if (saved.empty())
        return metafile;

    QByteArray kept;
    kept.reserve(metafile.size());
    qsizetype from = 0;
    for (const std::size_t i : saved) {
        kept.append(metafile.constData() + from, records[i].at - from);
        from = records[i].at + records[i].length;
    }
    kept.append(metafile.constData() + from, metafile.size() - from);
    auto* sizeField = reinterpret_cast<uchar*>(kept.data()) + headerStart + SizeFieldOffset;
    const quint32 removedWords = static_cast<quint32>((metafile.size() - kept.size()) / 2);
    const quint32 words = qFromLittleEndian<quint32>(sizeField);
    qToLittleEndian<quint32>(words > removedWords ? words - removedWords : 0, sizeField);
    return kept;
}

} // namespace tracella
