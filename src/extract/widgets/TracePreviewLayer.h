#pragma once

#include "app/core/AppState.h"
#include "extract/MatchPreview.h"

#include <QWidget>

namespace tracella {

class PictureSurface;

// The pixels that match the trace colour, shown over the picture surface
// while the Trace Curve panel asks for it. It lies on the surface as a child
// that takes no mouse input, and works out matches only for the part of the
// picture in view.
class TracePreviewLayer : public QWidget {
    Q_OBJECT
public:
    explicit TracePreviewLayer(PictureSurface* surface);

    void setMatch(Colour colour, int tolerance, bool perceptual = false);
    // How the matching pixels are shown: far from the colour looked for.
    QColor highlight() const { return highlight_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureSurface* surface_;
    Colour colour_ = 0;
    int tolerance_ = 0;
    bool perceptual_ = false;
    QColor highlight_;
    MatchPreview preview_;
    qint64 previewKey_ = 0;
    Colour previewBackdrop_ = 0;
};

} // namespace tracella
