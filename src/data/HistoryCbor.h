#pragma once

#include "data/HistoryRecord.h"

#include <QCborValue>

#include <optional>

namespace tracella {

// The undo history as a project file keeps it (see docs/project-format.md).
QCborValue HistoryAsCbor(const HistoryRecord& history);

// Nothing when the value is not a well-formed history. Whether it fits the
// curves it comes with is for the history that takes it up to tell.
std::optional<HistoryRecord> HistoryFromCbor(const QCborValue& value);

} // namespace tracella
