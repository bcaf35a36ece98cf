#pragma once

#include <QImage>
#include <QWidget>

class QFrame;

namespace tracella {

// picZoom: the black picture area that receives the magnified view, with
// the cross-hair lines LineV and LineH through its centre.
class ZoomView : public QWidget {
    Q_OBJECT
public:
    explicit ZoomView(QWidget* parent = nullptr);

    // The view's pixels, as large as the area.
    const QImage& canvas() const { return canvas_; }

    // The source pixels stretched to destination, with the grid at spacing
    // zoom if asked for.
    void draw(const QImage& source, const QSize& destination, float zoom, bool grid);
    // Black all over; the cross-hair stays.
    void clear();

    void setCrossHairVisible(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void centreCrossHair();

    QImage canvas_;
    bool black_ = true;
    QFrame* lineV_ = nullptr;
    QFrame* lineH_ = nullptr;
};

} // namespace tracella
