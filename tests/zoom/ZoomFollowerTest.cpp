#include "zoom/ZoomFollower.h"

#include <gtest/gtest.h>

using namespace tracella;
using Step = ZoomFollower::Step;

TEST(ZoomFollower, RestingPointerIsDrawnAgainEvery250Ms)
{
    ZoomFollower f;
    const QPoint rest(300, 200);
    EXPECT_EQ(f.tick(true, rest), Step::Draw); // nothing drawn yet
    int draws = 0;
    int lastDraw = 0;
    for (int tick = 1; tick <= 50; ++tick) {
        if (f.tick(true, rest) == Step::Draw) {
            ++draws;
            EXPECT_EQ(tick - lastDraw, 5) << "tick " << tick;
            lastDraw = tick;
        }
    }
    EXPECT_EQ(draws, 10);
}

TEST(ZoomFollower, EveryMoveIsDrawnAtOnce)
{
    ZoomFollower f;
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(f.tick(true, QPoint(x, 7)), Step::Draw);
    EXPECT_EQ(f.tick(true, QPoint(19, 7)), Step::Keep);
    f.forceRedraw();
    EXPECT_EQ(f.tick(true, QPoint(19, 7)), Step::Draw);
}

TEST(ZoomFollower, BlackWhileNotFollowingAndMovesThereAreCaughtUp)
{
    ZoomFollower f;
    EXPECT_EQ(f.tick(true, QPoint(5, 5)), Step::Draw);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(f.tick(false, QPoint(50 + i, 5)), Step::Black);
    // The last position seen while following was (5, 5).
    EXPECT_EQ(f.tick(true, QPoint(5, 5)), Step::Keep);
    EXPECT_EQ(f.tick(false, QPoint(9, 9)), Step::Black);
    EXPECT_EQ(f.tick(true, QPoint(9, 9)), Step::Draw);
}
