#pragma once

#include "app/core/AppState.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTime>

#include <optional>

namespace tracella {

// Seconds the user has, after OK, to bring the graph's window forward.
constexpr int CaptureDelaySeconds = 5;

// The instructions of the capture window for a delay.
QString CaptureInstructions(int delaySeconds);

// How long the countdown started at this time of day waits: the start is
// taken in whole seconds (rounded), so the wait lies within half a second
// of the delay.
qint64 CaptureWaitMs(const QTime& start, int delaySeconds);

// The rectangle between two corners given in either order, its edges
// rounded to whole pixels (halves to even); right and bottom are exclusive.
QRect CaptureRect(QPointF firstCorner, QPointF secondCorner);

// The size label drawn in the rectangle: "120x45".
QString CaptureLabelText(const QRect& rect);

// The surface pixel whose colour decides the label's colour: the centre.
QPoint CaptureLabelProbe(const QRect& rect);

// Where the label's top-left corner goes, centred in the rectangle; nothing
// when the text is not smaller than the rectangle both ways.
std::optional<QPoint> CaptureLabelPosition(const QRect& rect, QSize textSize);

// White on dark surfaces, black on light ones, judged by the packed value.
Colour CaptureLabelColour(Colour underLabel);

} // namespace tracella
