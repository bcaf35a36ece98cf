#include "app/services/PrintSpooler.h"

#include <QPrinter>

#include <cups/cups.h>

namespace tracella {

std::optional<QString> SpoolerRefusal(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return std::nullopt;
    // Qt hands the job to CUPS on this thread as the painter ends and drops
    // the answer; CUPS keeps the last one per thread.
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return std::nullopt;
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace tracella
