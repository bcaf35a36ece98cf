#pragma once

#include "picture/PictureLoader.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cstring>

namespace tracella::bench {

// The benchmark machine is a virtual machine whose host takes back the
// memory a process frees; touching it again costs the host's page faults, at
// random, and the more the larger the allocation and the further from the
// thread that freed it. So that no side of a comparison measures those,
// each repetition first touches and frees memory beyond the largest picture,
// untimed and on the thread that will allocate; what is timed still starts
// from fresh pages that the system must clear.
inline void WarmFreshMemory(QSize picture)
{
    QImage warm = NewDecodedImage(picture + QSize(0, picture.height() / 20), QImage::Format_RGB32);
    for (int y = 0; y < warm.height(); ++y)
        std::memset(warm.scanLine(y), 1, static_cast<std::size_t>(warm.bytesPerLine()));
    benchmark::DoNotOptimize(warm.constBits());
}

} // namespace tracella::bench
