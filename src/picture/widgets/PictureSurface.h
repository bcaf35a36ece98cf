#pragma once

#include "app/core/AppState.h"
#include "calibration/FrameMapping.h"
#include "picture/MarkerLayer.h"
#include "picture/Picture.h"
#include "picture/ViewZoom.h"

#include <QWidget>

namespace tracella {

// Picture2: the picture surface. Holds the picture at natural size, keeps
// what is drawn on it as a list of markers over the picture (never a second
// full-size image), carries the coordinate frame and reports the mouse in it.
class PictureSurface : public QWidget {
    Q_OBJECT
public:
    explicit PictureSurface(QWidget* parent = nullptr);

    const Picture& picture() const;
    bool hasPicture() const;
    void setPicture(Picture picture); // sizes the surface to it, erases the drawings
    void clearPicture();              // the surface becomes empty

    // Erases every marker; the picture stays.
    void clearDrawings();

    // The frame is held in single precision, as the surface reports positions.
    void setFrame(const Frame& frame);
    Frame frame() const;

    // Pen width in pixels: the diameter of a marker dot.
    void setPenWidth(int width);
    int penWidth() const;

    // One dot at a frame position, in a packed colour, with the current pen width.
    void drawDot(double x, double y, Colour colour);
    // One dot at a frame position in the surface's default drawing colour.
    void drawDefaultDot(double x, double y);

    int markerCount() const;

    // The group (curve) of the dots drawn from now on, painted on top of
    // every other group's.
    void setMarkerGroup(int group);

    // The colour shown under the picture's transparent pixels.
    Colour backdrop() const;

    // The picture with every marker drawn on it (for Copy).
    QImage composedImage() const;

    // The frame position of a picture position (in picture pixels).
    FramePoint frameAt(QPointF pixel) const;
    // The picture position a mouse event on the surface reads, through the zoom.
    QPointF picturePosition(const QMouseEvent* event) const;

    // The inner size the frame spans: the picture's, or the surface's own
    // without one. Whatever the zoom, this is what readings refer to.
    QSize pictureSize() const;

    // The view's magnification: the surface takes the picture's size times
    // the factor; drawings, readings and the frame stay in picture pixels.
    void setZoom(ViewZoom zoom);
    ViewZoom zoom() const { return zoom_; }

signals:
    // Buttons counted the program's way: 1 left, 2 right, 4 middle, summed.
    void mousePressed(tracella::FramePoint position, int button);
    void mouseMoved(tracella::FramePoint position, int buttons);
    void mouseReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double-click is no mouse down: one point per double-click.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    FramePoint pointerPosition(const QMouseEvent* event) const;
    void paintZoomed(const QRegion& region);

    Picture picture_;
    MarkerLayer markers_;
    int markerGroup_ = 0;
    Frame frame_ = BaseFrame;
    int penWidth_ = 1;
    ViewZoom zoom_;
};

} // namespace tracella
