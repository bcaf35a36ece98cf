#pragma once

#include <QString>

#include <optional>

class QPrinter;

namespace tracella {

// Right after a job on the printer has ended: why the system's spooler
// refused it, or nothing when it took the job or the printer is a file.
std::optional<QString> SpoolerRefusal(const QPrinter& printer);

} // namespace tracella
