#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <optional>

class QMouseEvent;
class QRubberBand;

namespace tracella {

class PictureSurface;

// The picture pixel a click at the mouse would read, whatever the zoom.
QPoint PixelUnder(const PictureSurface& surface, const QMouseEvent& mouse);

// A rectangle of picture pixels dragged on the surface, shown by a rubber
// band while the button is held.
class RegionDrag {
public:
    ~RegionDrag();

    bool dragging() const { return dragging_; }
    // Takes a mouse event of the surface: a press starts a drag, moves and
    // the release follow it. Returns whether the event was taken; the
    // release gives the region, with no pixels when the mouse did not move.
    bool take(PictureSurface& surface, const QMouseEvent& mouse, std::optional<QRect>& released);

private:
    QPoint start_;
    bool dragging_ = false;
    QPointer<QRubberBand> band_;
};

} // namespace tracella
