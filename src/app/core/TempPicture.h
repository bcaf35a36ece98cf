#pragma once

#include <QString>

namespace tracella {

// The one temporary picture file: written before each rotation, read by
// Undo Rotate, deleted at shutdown. Per user, never a shared /tmp name.
QString TempPicturePath();

} // namespace tracella
