#include "data/ProjectStart.h"

#include <QCborStreamReader>
#include <QString>

#include <optional>

namespace tracella {

namespace {

// The whole text the reader is on, which it then moves past; none when the
// text breaks off.
std::optional<QString> ReadText(QCborStreamReader& reader)
{
    QString text;
    for (auto chunk = reader.readString();; chunk = reader.readString()) {
        if (chunk.status == QCborStreamReader::EndOfString)
            return text;
        if (chunk.status != QCborStreamReader::Ok)
            return std::nullopt;
        text += chunk.data;
    }
}

} // namespace

bool IsProjectStart(const QByteArray& bytes)
{
    QCborStreamReader reader(bytes);
    if (!reader.isMap() || !reader.enterContainer() || !reader.isString() ||
        ReadText(reader) != QStringLiteral("format"))
        return false;
    return reader.isString() && ReadText(reader) == ProjectFormatName;
}

} // namespace tracella
