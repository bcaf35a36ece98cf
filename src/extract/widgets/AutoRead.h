#pragma once

#include <cstdint>

namespace tracella {

// What one sweep of the document picture did.
struct DocumentSweep {
    std::int64_t found = 0; // points stored and marked
    bool gridFull = false;  // stopped at a point the full grid could not take
};

// Sweeps the document picture with the settings of the application state:
// every matching sample goes through RecordPoint and gets a marker of
// ARPointColor on the pixel it was read from. The toolbar's progress bar
// follows while the toolbar is shown and is hidden at the end. No report.
DocumentSweep SweepDocumentPicture();

// The AutoRead command: the sweep under the busy pointer, then the click
// sound and the report.
void AutoRead();

} // namespace tracella
