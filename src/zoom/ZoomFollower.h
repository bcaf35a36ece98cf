#pragma once

#include <QPoint>

namespace tracella {

// Decides at each timer tick what the magnified view does: it follows
// every move of the pointer at once and, while the pointer rests, is drawn
// again every 250 ms so that changes on the screen show up.
class ZoomFollower {
public:
    static constexpr int TickMs = 50;
    static constexpr int RestingRefreshMs = 250;

    enum class Step { Black, Draw, Keep };

    // following: the pointer was last seen over the picture and the view is
    // not minimised.
    Step tick(bool following, QPoint pointer);

    // The next tick that follows draws, wherever the pointer is.
    void forceRedraw() { last_.setX(-100); }

private:
    QPoint last_{-100, 0};
    int elapsedMs_ = 0;
};

} // namespace tracella
