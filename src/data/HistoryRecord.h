#pragma once

#include "data/CurveDocument.h"
#include "data/RowsChange.h"
#include "data/RowsReorder.h"

#include <QCborValue>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace tracella {

// What one step of the undo history changed. Rows and reorders are kept as
// the step stands: a step that is done holds what it replaced, one that is
// undone what it will put back.
struct StepChanges {
    std::vector<std::pair<int, RowsChange>> rows;      // by curve id
    std::vector<std::pair<int, RowsReorder>> reorders; // curves without rows kept, in order
    std::optional<std::pair<CurveList, CurveList>> list;
};

// A history as plain values, to be kept in a file and taken up again.
struct HistoryRecord {
    struct Step {
        QString name;
        StepChanges changes;
        std::optional<std::pair<QCborValue, QCborValue>> side; // before, after
    };
    std::vector<Step> steps;
    int index = 0; // the steps before it are done, the others undone
};

// Applies a step's changes to the curves, undone or done again; false as
// soon as one does not fit them (rows that are not there, a reorder of
// another row count), the curves then partly changed.
bool ApplyChanges(CurveDocument& curves, StepChanges& changes, bool forward);

} // namespace tracella
