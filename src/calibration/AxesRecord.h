#pragma once

#include "calibration/AffineCalibration.h"
#include "data/ProjectFile.h"

#include <optional>

namespace tracella {

// A calibration by axes as a project file keeps it, and back; nothing for
// a record that names no known axis kind or holds numbers that are not
// finite.
ProjectAxes RecordOfAxes(const AffineCalibration& calibration);
std::optional<AffineCalibration> AxesOfRecord(const ProjectAxes& record);

} // namespace tracella
