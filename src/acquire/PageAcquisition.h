#pragma once

#include "acquire/ScanLibrary.h"

#include <QImage>

#include <functional>

namespace tracella {

// Runs between reads with the bytes of the page so far and the bytes
// expected (0 when the page's length is not known); false stops the scan.
using ScanProgress = std::function<bool(qint64 received, qint64 expected)>;

// Scans one page from an opened source: a single frame, or up to three
// colour passes. A null image when nothing usable arrived, the source
// failed or the progress said stop; the page is ended in every case.
QImage AcquirePage(ScanDevice& device, const ScanProgress& keepGoing);

} // namespace tracella
