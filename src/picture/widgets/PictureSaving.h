#pragma once

#include "app/core/AppError.h"
#include "picture/Picture.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

namespace tracella {

// The save dialog's filter: only the picture's own format is offered.
QString SavePictureFilter(PictureKind kind);

// The picture as a file of its own format: a metafile's original bytes, an
// icon through the ICO writer, anything else as a bitmap (BMP).
std::variant<QByteArray, AppError> EncodePicture(const Picture& picture);

// Writes the picture in its own format, replacing the file as a whole: a
// failure leaves any earlier file as it was.
[[nodiscard]] std::optional<AppError> WritePictureFile(const QString& path, const Picture& picture);

} // namespace tracella
