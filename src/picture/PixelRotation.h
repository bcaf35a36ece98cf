#pragma once

#include "app/core/AppState.h"

#include <QImage>
#include <QSize>
#include <functional>

namespace tracella {

// The system's 3-D face colour, which the rotation canvas shows where no
// source pixel lands.
constexpr Colour DefaultCanvasBackground = Rgb(240, 240, 240);

// Bounding box of a picture turned by the angle, rounded to whole pixels
// (halves to even).
QSize RotatedSize(QSize source, double angleDegrees);

// Turns source about its centre onto destination, about the destination's
// centre: every destination pixel of the covered square takes the source
// pixel at the same rounded distance from the centre, at its polar angle
// plus the rotation. Pixels whose source lies outside the picture keep the
// destination's colour. perColumn runs after each column of the sweep.
void RotatePicture(QImage& destination, const QImage& source, double angleDegrees,
                   const std::function<void()>& perColumn = {});

// The rotate command's canvas work: a canvas of the rotated size cleared to
// the background, with the source turned onto it.
QImage RotatedPicture(const QImage& source, double angleDegrees, Colour background = DefaultCanvasBackground,
                      const std::function<void()>& perColumn = {});

} // namespace tracella
