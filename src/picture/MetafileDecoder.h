#pragma once

#include "picture/PictureLoader.h"

#include <QByteArray>

namespace tracella {

// Bytes a caller needs to tell a metafile by its start.
constexpr int MetafileSignatureBytes = 6;

// True when the bytes start a Windows metafile: the placeable header's key,
// or a plain metafile header (memory or disk type, 9-word header, version
// 1.0 or 3.0).
bool IsMetafileStart(const QByteArray& head);

// The screen resolution a metafile is rendered at, as a picture box shows it.
constexpr double MetafileDotsPerInch = 96.0;

// Renders a Windows metafile with libwmf into an opaque image (white where
// nothing is drawn). The picture keeps the original bytes.
LoadedPicture DecodeMetafile(const QByteArray& bytes, int maxSide = MaxPictureSide);

} // namespace tracella
