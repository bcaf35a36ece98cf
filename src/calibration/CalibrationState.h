#pragma once

#include "app/core/AppState.h"
#include "calibration/ActiveCalibration.h"
#include "data/EditHistory.h"

#include <functional>

namespace tracella {

// The settings and the calibration as the undo history keeps them: the
// options, the two-point Scale and the calibration by axes. What is drawn
// from them is redrawn by whoever is told through afterRestore.
class CalibrationState : public SideState {
public:
    CalibrationState(AppState& state, ActiveCalibration& calibration) : state_(state), calibration_(calibration) {}

    std::any capture() const override;
    bool same(const std::any& a, const std::any& b) const override;
    void restore(const std::any& state) override;
    // The same fields as a project keeps them.
    QCborValue encode(const std::any& state) const override;
    std::optional<std::any> decode(const QCborValue& value) const override;
    // The settings and calibration of another record (a project's), the
    // calibration by axes when there is one.
    void adopt(const AppState& from, std::optional<AffineCalibration> affine);

    std::function<void()> afterRestore;

private:
    AppState& state_;
    ActiveCalibration& calibration_;
};

} // namespace tracella
