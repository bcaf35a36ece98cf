#pragma once

#include "app/core/AppError.h"
#include "app/core/AppState.h"
#include "calibration/AffineCalibration.h"
#include "calibration/CoordinateTransform.h"

#include <QSize>
#include <optional>
#include <variant>

namespace tracella {

enum class Axis { X, Y };

// The one calibration every reading and drawing goes through. Either the
// two-point Scale's frame (positions are frame positions, a log axis as the
// options say at the moment of reading), or a calibration by axes, under
// which the surface carries PixelFrame and positions are picture pixels.
// Setting either replaces the other.
class ActiveCalibration {
public:
    void useFrame() { affine_.reset(); }
    void useAffine(AffineCalibration calibration) { affine_ = std::move(calibration); }
    const AffineCalibration* affine() const { return affine_ ? &*affine_ : nullptr; }
    AxisKind kind(Axis axis, const AppState& state) const;

    // A position of the surface's frame as data values, each at the
    // position's precision (a date keeps double precision).
    std::variant<DataPoint, AppError> valuesAt(PrecisionValue x, PrecisionValue y, const AppState& state) const;
    // Data values -> position; nothing for values a log axis cannot show.
    std::optional<QPointF> positionOf(double x, double y, const AppState& state) const;
    // A grid row's two cells -> position; nothing for a value the axis
    // cannot show or an unreadable date.
    std::optional<QPointF> positionOfCells(const QString& x, const QString& y, const AppState& state) const;

    // A value as the grid, files and clipboard show it on that axis.
    QString valueText(Axis axis, PrecisionValue value) const;
    // A cell's text read back on that axis.
    std::optional<double> cellValue(Axis axis, const QString& text, const AppState& state) const;

private:
    std::optional<AffineCalibration> affine_;
};

// The one active calibration of this process.
ActiveCalibration& activeCalibration();

// The frame a calibration by axes lays on the surface: position = pixel.
Frame PixelFrame(QSize pictureSize);

} // namespace tracella
