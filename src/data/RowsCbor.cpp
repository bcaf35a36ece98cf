#include "data/RowsCbor.h"

namespace tracella {

namespace {

enum MajorType : quint8 { TextString = 3, Array = 4 };

// An item's head: its major type and the length or count that follows.
void AppendHead(QByteArray& out, MajorType type, quint64 n)
{
    const char major = static_cast<char>(type << 5);
    if (n < 24) {
        out += static_cast<char>(major | static_cast<char>(n));
        return;
    }
    const int bytes = n <= 0xFF ? 1 : n <= 0xFFFF ? 2 : n <= 0xFFFFFFFF ? 4 : 8;
    out += static_cast<char>(major | (bytes == 1 ? 24 : bytes == 2 ? 25 : bytes == 4 ? 26 : 27));
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((n >> shift) & 0xFF);
}

} // namespace

QByteArray RowsAsCbor(const std::vector<GridRow>& rows)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(rows.size()) * 32 + 9);
    AppendHead(out, Array, rows.size());
    for (const GridRow& row : rows) {
        AppendHead(out, Array, row.size());
        for (const QString& cell : row) {
            const QByteArray utf8 = cell.toUtf8();
            AppendHead(out, TextString, static_cast<quint64>(utf8.size()));
            out += utf8;
        }
    }
    return out;
}

} // namespace tracella
