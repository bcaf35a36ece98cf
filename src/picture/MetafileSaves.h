#pragma once

#include <QByteArray>

#include <optional>

namespace tracella {

// The deepest nesting of saved drawing states a metafile may use.
constexpr int MaxNestedMetafileSaves = 1024;

// libwmf copies the drawing state on every SaveDC, and its allocator looks
// through every block still held on each free, so each state left saved
// slows every later SaveDC: the time grows with the square of their number.
// A state that no RestoreDC brings back changes nothing drawn (libwmf's
// RestoreDC always brings back the latest one), so its SaveDC can go.
// Gives the metafile without those records, or nothing when the saves
// that are restored nest deeper than MaxNestedMetafileSaves. Records after
// one whose size does not fit are left as they are, for libwmf to judge.
std::optional<QByteArray> WithoutUnrestoredSaves(const QByteArray& metafile);

} // namespace tracella
