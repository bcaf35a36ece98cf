#pragma once

#include "app/core/AppError.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tracella {

// Replaces the file with bytes as a whole: the bytes go to a new file in the
// same folder that then takes the old one's place, so a failure on the way
// leaves the earlier file as it was. Where that cannot be done (the folder
// takes no new file, the file has other names or another owner, or it is a
// device or pipe) the file itself is rewritten. A file that may not be
// written is refused even where its folder would allow the replacement.
// Nothing waits for a pipe without a reader; errors name the file.
[[nodiscard]] std::optional<AppError> WriteDataFile(const QString& path, const QByteArray& bytes);

// Adds bytes at the end of the file in one write, creating it when missing;
// a pipe is written as by WriteDataFile.
[[nodiscard]] std::optional<AppError> AppendDataFile(const QString& path, const QByteArray& bytes);

// True when a file or folder of this name exists; "*" and "?" in the last
// part of the name match any characters and any one character.
bool FileExists(const QString& name);

} // namespace tracella
