#include "zoom/ZoomFactor.h"

#include "app/core/NumberReading.h"
#include "app/core/NumberText.h"

#include <cmath>

namespace tracella {

float ClampZoom(float factor)
{
    if (factor * 100 > ZoomMaximumPercent)
        return ZoomMaximumPercent / 100.0f;
    if (factor * 100 < ZoomMinimumPercent)
        return ZoomMinimumPercent / 100.0f;
    return factor;
}

QString ZoomPercentText(float factor)
{
    const long percent = std::lround(static_cast<double>(factor) * 100);
    return (percent == 0 ? QString() : QString::number(percent)) + QLatin1Char('%');
}

int ZoomPercentOfText(const QString& text)
{
    const float zoom = ClampZoom(static_cast<float>(LeadingNumber(text) / 100));
    return static_cast<int>(RoundHalfEven(static_cast<double>(zoom) * 100));
}

QString PlainZoomText(const QString& text)
{
    return PlainNumberText(LeadingNumber(text));
}

ZoomKey ClassifyZoomKey(QChar typed)
{
    if (typed == QLatin1Char('\r'))
        return ZoomKey::Apply;
    const char16_t c = typed.unicode();
    if ((c >= u'0' && c <= u'9') || c < 32 || c == 127)
        return ZoomKey::Pass;
    return ZoomKey::Refuse;
}

} // namespace tracella
