#pragma once

#include "app/core/AppState.h"
#include "extract/CurveTrace.h"
#include "extract/TraceSteps.h"

#include <QPointF>
#include <QRect>

#include <cstdint>
#include <optional>

namespace tracella {

// What the Trace Curve panel asks for.
struct TraceRequest {
    Colour colour = 0;
    int tolerance = 40;
    double step = 1;
    StepUnit unit = StepUnit::Pixels;
    TraceShape shape = TraceShape::Curve;
    std::optional<QRect> region; // picture pixels; none: the whole picture
    // Follows the one curve through this picture position instead of
    // sweeping the region; the tolerance is then perceptual.
    std::optional<QPointF> followFrom;
};

// Traces the document picture along the independent variable of the
// interpolation settings and stores every point found through RecordPoint,
// marked in ARPointColor, or none of them with a message saying why.
// The number of points stored.
std::int64_t TraceDocumentPicture(const TraceRequest& request);

// The Trace button: the trace under the busy pointer, then the click sound
// and the report.
void TraceCurveCommand(const TraceRequest& request);

} // namespace tracella
