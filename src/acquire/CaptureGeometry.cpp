#include "acquire/CaptureGeometry.h"

#include "app/core/NumberReading.h"

#include <algorithm>

namespace tracella {
namespace {

int WholePixel(double value)
{
    return static_cast<int>(RoundHalfEven(value));
}

QPointF Centre(const QRect& rect)
{
    // right - w/2 and bottom - h/2, with right and bottom exclusive.
    return {rect.x() + rect.width() - rect.width() / 2.0, rect.y() + rect.height() - rect.height() / 2.0};
}

// Packed colours below half of 62255 (black, reds, dark greens) take a white
// label; the rest, blue among them, a black one.
constexpr double LabelColourThreshold = 62255 / 2.0;

} // namespace

QString CaptureInstructions(int delaySeconds)
{
    return QStringLiteral("Switch to the window with the area that you want to capture.\r\nYou have ") +
           QString::number(delaySeconds) + QStringLiteral(" seconds to do this after you click OK.");
}

qint64 CaptureWaitMs(const QTime& start, int delaySeconds)
{
    const qint64 startMs = start.msecsSinceStartOfDay();
    const qint64 wholeStart = RoundHalfEven(static_cast<double>(startMs) / 1000);
    return (wholeStart + delaySeconds) * 1000 - startMs;
}

QRect CaptureRect(QPointF firstCorner, QPointF secondCorner)
{
    const int left = WholePixel(std::min(firstCorner.x(), secondCorner.x()));
    const int right = WholePixel(std::max(firstCorner.x(), secondCorner.x()));
    const int top = WholePixel(std::min(firstCorner.y(), secondCorner.y()));
    const int bottom = WholePixel(std::max(firstCorner.y(), secondCorner.y()));
    return {QPoint(left, top), QSize(right - left, bottom - top)};
}

QString CaptureLabelText(const QRect& rect)
{
    return QString::number(rect.width()) + QChar(u'x') + QString::number(rect.height());
}

QPoint CaptureLabelProbe(const QRect& rect)
{
    const QPointF centre = Centre(rect);
    return {WholePixel(centre.x()), WholePixel(centre.y())};
}

std::optional<QPoint> CaptureLabelPosition(const QRect& rect, QSize textSize)
{
    if (textSize.width() >= rect.width() || textSize.height() >= rect.height())
        return std::nullopt;
    const QPointF centre = Centre(rect);
    return QPoint(WholePixel(centre.x() - textSize.width() / 2.0), WholePixel(centre.y() - textSize.height() / 2.0));
}

Colour CaptureLabelColour(Colour underLabel)
{
    return underLabel < LabelColourThreshold ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
}

} // namespace tracella
