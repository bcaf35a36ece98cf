#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

class QPainter;

namespace tracella {

// Grid lines closer than this are not drawn in the magnifier: they would
// cover the enlarged pixels they outline.
constexpr double ZoomGridMinimumSpacing = 3.0;
// The options' sweep-grid preview shows fine grids too.
constexpr double PreviewGridMinimumSpacing = 0.5;

// An 8 x 8 checkerboard pattern brush: first where x + y is even.
QBrush MakeCheckerBrush(const QColor& first, const QColor& second);

// The one-pixel lines of a grid over a canvas: columns at x = 0, dx, 2 dx, ...
// then rows at y = 0, dy, 2 dy, ...; none when dx or dy is below the minimum.
std::vector<QRect> GridLines(const QSize& canvas, double dx, double dy, double minimumSpacing);

// A dotted grey and silver grid: each line one fill with the checker brush,
// the pattern aligned to the canvas origin. The painter serves any surface;
// the image form fills the pixels directly, which for the magnifier's many
// short columns is far quicker than a painter's pattern spans.
void DrawGrid(QPainter& painter, const QSize& canvas, double dx, double dy, double minimumSpacing);
void DrawGrid(QImage& canvas, double dx, double dy, double minimumSpacing);

// The magnified view: source (the pixels of the layout's source rectangle)
// stretched without smoothing to destination from the canvas's top left,
// screen pixel k starting at floor(k * destination / source size), then,
// when asked for, the grid at spacing zoom. A null source leaves the canvas
// black. A canvas of less than 32 bits per pixel becomes RGB32.
void DrawZoom(QImage& canvas, const QImage& source, const QSize& destination, float zoom, bool grid);

} // namespace tracella
