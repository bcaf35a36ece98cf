#pragma once

#include "calibration/AxisFinding.h"
#include "calibration/LabelScale.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace tracella {

class CancelToken;

// Where the label of a tick stands: the ink beyond the tick's end, out to
// the first wide gap, within half the spacing of the ticks either side.
// Empty when there is none.
QRect LabelBox(const QImage& picture, const FoundAxis& axis, std::size_t tick);

// Reads tick labels with Tesseract, keeping to what numbers are written with.
class LabelOcr {
public:
    // dataDir holds Tesseract's language files; empty for where Debian puts them.
    explicit LabelOcr(const QString& dataDir = {});
    ~LabelOcr();
    LabelOcr(const LabelOcr&) = delete;
    LabelOcr& operator=(const LabelOcr&) = delete;

    // Why no label can be read; empty when they can.
    QString error() const { return error_; }
    // The text beside each of the axis's ticks, in their order ("" where
    // none is read), turned upright when most labels stand on end;
    // nothing when cancelled. `read` hears of each label as it is read.
    std::vector<LabelledTick> readAxis(const QImage& picture, const FoundAxis& axis, CancelToken* cancel = nullptr,
                                       const std::function<void()>& read = {});
    // One line of text, turned upright first when it stands on end; a
    // raised exponent comes back after a "^" ("10^-3").
    QString readLine(const QImage& crop, bool standing = false);

private:
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    QString error_;
};

} // namespace tracella
