#include "zoom/ZoomFollower.h"

namespace tracella {

ZoomFollower::Step ZoomFollower::tick(bool following, QPoint pointer)
{
    if (!following)
        return Step::Black;
    elapsedMs_ += TickMs;
    Step step = Step::Keep;
    if (pointer != last_ || elapsedMs_ >= RestingRefreshMs) {
        step = Step::Draw;
        elapsedMs_ = 0;
    }
    last_ = pointer;
    return step;
}

} // namespace tracella
