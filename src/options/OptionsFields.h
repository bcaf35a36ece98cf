#pragma once

#include "app/core/Message.h"

#include <QSize>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace tracella {

// The note under the log axis check boxes.
inline const QString LogAxisNote = QStringLiteral("Note:\r\n       Select Log Axis before scaling the picture.");

// The whole number of a text: its leading number rounded, halves to the even
// neighbour; 0 when it starts with no number. Nothing when the number lies
// beyond the signed 32-bit range.
std::optional<std::int32_t> WholeNumberOfText(const QString& text);

// The pen width a dot-size text asks for: its whole number with the blanks
// around it removed. Nothing when it is below 1 or beyond the signed 16-bit
// range; the sample then keeps its width.
std::optional<int> DotWidthOfText(const QString& text);

// The sweep density, rows and columns, and the interpolation's point count.
struct CountFields {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::int32_t splinePoints = 0;
};

// The three counts as "&Do It" stores them, or the message refusing the first
// one beyond the signed 32-bit range.
std::variant<CountFields, Message> ReadCountFields(const QString& rows, const QString& cols, const QString& points);

// "Guide me": one AutoRead sample every two pixels each way.
struct SweepDensity {
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};
SweepDensity GuidedDensity(const QSize& picture);

// The cell of the sweep-grid preview over a surface; nothing unless both
// counts are positive whole numbers.
std::optional<QSizeF> SweepGridCell(const QSize& surface, const QString& rows, const QString& cols);

// The tab Ctrl+Tab (forward) or Ctrl+Shift+Tab selects, wrapping round.
int NextTabIndex(int current, int count, bool backwards);

} // namespace tracella
