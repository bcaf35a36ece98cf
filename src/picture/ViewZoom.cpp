#include "picture/ViewZoom.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

int percentOf(double factor)
{
    return static_cast<int>(std::lround(factor * 100));
}

} // namespace

ViewZoom::ViewZoom(double factor) : factor_(std::isnan(factor) ? 1.0 : std::clamp(factor, Minimum, Maximum)) {}

QSize ViewZoom::viewSize(QSize picture) const
{
    const auto side = [this](int pixels) {
        return pixels <= 0 ? 0 : std::max(1, static_cast<int>(std::ceil(pixels * factor_ - 1e-9)));
    };
    return {side(picture.width()), side(picture.height())};
}

QPointF ViewZoom::pictureAt(QPoint viewPixel) const
{
    if (isNatural())
        return viewPixel;
    return {(viewPixel.x() + 0.5) / factor_ - 0.5, (viewPixel.y() + 0.5) / factor_ - 0.5};
}

QRect ViewZoom::pictureRect(const QRect& view, QSize picture) const
{
    if (view.isEmpty())
        return {};
    const int left = static_cast<int>(std::floor(view.left() / factor_));
    const int top = static_cast<int>(std::floor(view.top() / factor_));
    const int right = static_cast<int>(std::ceil((view.right() + 1) / factor_)) - 1;
    const int bottom = static_cast<int>(std::ceil((view.bottom() + 1) / factor_)) - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom)) & QRect(QPoint(0, 0), picture);
}

QRect ViewZoom::viewRect(const QRect& picture) const
{
    if (picture.isEmpty())
        return {};
    const int left = static_cast<int>(std::floor(picture.left() * factor_));
    const int top = static_cast<int>(std::floor(picture.top() * factor_));
    const int right = static_cast<int>(std::ceil((picture.right() + 1) * factor_)) - 1;
    const int bottom = static_cast<int>(std::ceil((picture.bottom() + 1) * factor_)) - 1;
    return {QPoint(left, top), QPoint(right, bottom)};
}

int ViewZoom::scrollKeeping(double picturePosition, int at) const
{
    return static_cast<int>(std::lround((picturePosition + 0.5) * factor_ - 0.5)) - at;
}

double ViewZoom::pictureAtOffset(int scroll, int at) const
{
    return (scroll + at + 0.5) / factor_ - 0.5;
}

ViewZoom ViewZoom::steppedIn() const
{
    const int now = percentOf(factor_);
    for (int percent : ZoomLadderPercent)
        if (percent > now)
            return ViewZoom(percent / 100.0);
    return ViewZoom(Maximum);
}

ViewZoom ViewZoom::steppedOut() const
{
    const int now = percentOf(factor_);
    for (auto it = std::rbegin(ZoomLadderPercent); it != std::rend(ZoomLadderPercent); ++it)
        if (*it < now)
            return ViewZoom(*it / 100.0);
    return ViewZoom(Minimum);
}

QString ViewZoom::text() const
{
    return QString::number(percentOf(factor_)) + QLatin1Char('%');
}

std::optional<ViewZoom> ViewZoom::fromText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+(?:\\.\\d*)?|\\.\\d+)\\s*%?\\s*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return ViewZoom(match.captured(1).toDouble() / 100.0);
}

} // namespace tracella
