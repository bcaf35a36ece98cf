#include "data/DataFileFormat.h"

#include <QStringEncoder>
#include <algorithm>
#include <cstring>

namespace tracella {

namespace {

// Where the second and third fields start, counted from 0 (columns 20 and 40).
constexpr qsizetype SpaceFieldStart[GridColumnCount - 1] = {19, 39};

// Bytes a line may need beyond its encoded texts: padding, quotes, commas
// or tabs, and the line end.
constexpr qsizetype LineOverhead = SpaceFieldStart[1] + 8;

// Fills a buffer sized once for the whole file, so that the tens of
// thousands of short cell texts cost no reallocation.
class FileBuffer {
public:
    explicit FileBuffer(qsizetype capacity)
        : m_bytes(capacity, Qt::Uninitialized), m_end(m_bytes.data())
    {
    }

    void put(char c) { *m_end++ = c; }
    void put(const char* text, std::size_t length)
    {
        std::memcpy(m_end, text, length);
        m_end += length;
    }
    void putBlanks(qsizetype count)
    {
        std::memset(m_end, ' ', static_cast<std::size_t>(count));
        m_end += count;
    }

    // Returns the number of characters written (not bytes).
    qsizetype putText(QStringView text)
    {
        // Cell texts are nearly always ASCII: copied unit by unit, the
        // encoder is needed only from the first other character on.
        qsizetype ascii = 0;
        for (; ascii < text.size() && text[ascii].unicode() < 0x80; ++ascii) {
            *m_end++ = static_cast<char>(text[ascii].unicode());
        }
        if (ascii == text.size()) {
            return ascii;
        }
        char* const start = m_end;
        m_end = m_encoder.appendToBuffer(m_end, text.sliced(ascii));
        return ascii + std::count_if(start, m_end, [](char byte) { return (byte & 0xC0) != 0x80; });
    }

    QByteArray take()
    {
        m_bytes.truncate(m_end - m_bytes.data());
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char* m_end;
    QStringEncoder m_encoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

qsizetype FileCapacity(const GridRows& rows)
{
    const QStringEncoder sizing(QStringConverter::Utf8);
    qsizetype capacity = 0;
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (const QString& text : rows.row(r)) {
            capacity += sizing.requiredSpace(text.size());
        }
        capacity += LineOverhead;
    }
    return capacity;
}

void PutSpaceLine(FileBuffer& out, const GridRow& row)
{
    qsizetype position = 0;
    for (std::size_t c = 0; c < row.size(); ++c) {
        position += out.putText(row[c]);
        if (c + 1 < row.size()) {
            const qsizetype blanks = std::max<qsizetype>(SpaceFieldStart[c] - position, 1);
            out.putBlanks(blanks);
            position += blanks;
        }
    }
}

void PutTabLine(FileBuffer& out, const GridRow& row)
{
    for (const QString& text : row) {
        out.put('\t');
        out.putText(text);
    }
}

void PutCommaLine(FileBuffer& out, const GridRow& row)
{
    for (std::size_t c = 0; c < row.size(); ++c) {
        out.put(c == 0 ? "\"" : ",\"", c == 0 ? 1 : 2);
        out.putText(row[c]);
        out.put('"');
    }
}

} // namespace

DataFileLayout LayoutForFilterIndex(int filterIndex)
{
    switch (filterIndex) {
    case 2:
        return DataFileLayout::Space;
    case 4:
        return DataFileLayout::Tab;
    default:
        return DataFileLayout::Comma;
    }
}

QByteArray DataFileBytes(const GridRows& rows, DataFileLayout layout)
{
    const auto putLine = layout == DataFileLayout::Space ? PutSpaceLine
                         : layout == DataFileLayout::Tab ? PutTabLine
                                                         : PutCommaLine;
    FileBuffer out(FileCapacity(rows));
    for (int r = 0; r < rows.rowCount(); ++r) {
        putLine(out, rows.row(r));
        out.put("\r\n", 2);
    }
    return out.take();
}

} // namespace tracella
