#pragma once

#include "app/core/AppError.h"
#include "data/ProjectFile.h"

#include <QString>

#include <optional>
#include <variant>

namespace tracella {

// No project holds more: a larger file is refused before it is read.
constexpr qint64 MaxProjectFileBytes = qint64(2) << 30;

// Writes the project as WriteDataFile writes data files (atomic replace,
// fsync before rename); the error names the file.
[[nodiscard]] std::optional<AppError> SaveProjectFile(const QString& path, const Project& project);

// Reads and decodes a project file; the message names the file and says what
// is wrong (missing, unreadable, not a project, newer version...).
std::variant<Project, QString> ReadProjectFile(const QString& path);

} // namespace tracella
