#pragma once

#include <QByteArray>
#include <QLatin1StringView>

namespace tracella {

// The value of a project file's "format" entry.
constexpr QLatin1StringView ProjectFormatName("tracella-project");

// True when the bytes are a CBOR map with the entry "format":
// "tracella-project" before anything in them breaks off or goes wrong.
// Reads the bytes as a stream, never as the partial map a failed parse
// leaves: Qt 6.4's QCborMap reads past the end of one whose last key lost
// its value.
bool IsProjectStart(const QByteArray& bytes);

} // namespace tracella
