#pragma once

#include "calibration/AffineCalibration.h"
#include "calibration/AxisProposal.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace tracella {

class PictureSurface;

// Drawn over the picture surface, taking no mouse input: the references of
// the Scale by Axes panel while it is open, what Find Axes found, and the
// calibrated axes when the View menu shows them. Positions are picture pixels
// (pixel i at i).
class CalibrationLayer : public QWidget {
    Q_OBJECT
public:
    struct Reference {
        QString label;
        QPointF pixel;
    };

    explicit CalibrationLayer(PictureSurface* surface);

    void setReferences(std::vector<Reference> references);
    void setAxes(std::optional<AffineCalibration> axes);
    // Marks found on `picture`, shown while the surface holds that picture.
    void setFound(FoundMarks marks, const QImage& picture);
    void clearFound() { setFound({}, {}); }
    FoundMarks found() const;
    // The view position of a picture position at the surface's zoom.
    QPointF viewAt(QPointF pixel) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintAxes(QPainter& painter) const;
    void paintFound(QPainter& painter) const;

    PictureSurface* surface_;
    std::vector<Reference> references_;
    std::optional<AffineCalibration> axes_;
    FoundMarks found_;
    qint64 foundOn_ = 0;
};

// The layer of a surface, made on first use.
CalibrationLayer* CalibrationLayerOf(PictureSurface* surface);

} // namespace tracella
