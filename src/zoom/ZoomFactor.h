#pragma once

#include <QChar>
#include <QString>

namespace tracella {

// The zoom factor is the scroll bar's value in percent divided by 100.
constexpr int ZoomMinimumPercent = 25;
constexpr int ZoomMaximumPercent = 1000;
constexpr int ZoomInitialPercent = 250;

// Limits a factor to the scroll bar's range divided by 100.
float ClampZoom(float factor);

// "####%": the factor as a whole percentage, no leading zeros ("250%").
QString ZoomPercentText(float factor);

// The scroll bar value for a typed text: its leading number in percent,
// clamped; an empty or non-numeric text counts as 0 and gives the minimum.
int ZoomPercentOfText(const QString& text);

// What the text box shows while it has the focus: the leading number alone.
QString PlainZoomText(const QString& text);

// How the text box treats a typed character.
enum class ZoomKey { Pass, Apply, Refuse };
ZoomKey ClassifyZoomKey(QChar typed);

} // namespace tracella
