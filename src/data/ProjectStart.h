#pragma once

#include <QByteArray>
#include <QLatin1StringView>

namespace tracella {

// The value of a project file's "format" entry.
constexpr QLatin1StringView ProjectFormatName("tracella-project");

// True when the bytes are a CBOR map whose first entry is "format":
// "tracella-project", whatever follows. Reads the bytes as a stream, never
// as the partial map a failed parse leaves: Qt 6.4's QCborMap::value reads
// past the end of one whose last key lost its value, unless the key sought
// comes before it.
bool IsProjectStart(const QByteArray& bytes);

} // namespace tracella
