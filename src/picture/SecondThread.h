#pragma once

#include <QtGlobal>

#include <thread>

namespace tracella {

// Whether a second decoding thread pays for itself: below a million pixels
// starting it costs more than it saves, and one core gains nothing.
inline bool SecondThreadPays(qint64 width, qint64 height)
{
    return std::thread::hardware_concurrency() >= 2 && width * height >= qint64{1} << 20;
}

} // namespace tracella
