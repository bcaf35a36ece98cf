#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

namespace tracella {

// Where a magnified view comes from and how large it is drawn: the source
// rectangle of screen pixels around the pointer, and the size it is
// stretched to from the view's top left corner.
struct ZoomLayout {
    QRect source;
    QSize destination;
};

// The layout for a view of the given size at a factor. The destination
// always covers the whole view; the last source column or row may be cut
// by the view's edge.
ZoomLayout ZoomLayoutAt(QPoint pointer, QSize view, float zoom);

// The pixels of a source rectangle taken from a screen that may cover only
// part of it: what lies outside the screen stays black. grab is asked only
// for the covered part; a null image from it (a platform that refuses to
// show its screen) gives a null result.
QImage ZoomSourceImage(const QRect& source, const QRect& screen, const std::function<QImage(const QRect&)>& grab);

} // namespace tracella
