#include "picture/PolarTurn.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tracella;

namespace {

// The fast columns must match the defined computation pixel for pixel.
void ExpectColumnsAsDefined(double angle, std::int64_t reach, std::initializer_list<std::int64_t> columns)
{
    PolarTurn turn(angle, reach);
    std::vector<PixelOffset> offsets(static_cast<std::size_t>(reach + 1));
    for (const std::int64_t x : columns) {
        turn.column(x, offsets);
        for (std::int64_t y = 0; y <= reach; ++y)
            ASSERT_EQ(offsets[y], turn.defined(x, y)) << "angle " << angle << " at " << x << ", " << y;
    }
}

} // namespace

TEST(PolarTurn, ColumnsMatchTheDefinedComputation)
{
    for (const double angle : {0.5, 30.0, 45.0, 60.0, 90.0, 123.456, 180.0, 270.0, 300.0, 359.9}) {
        PolarTurn turn(angle, 600);
        std::vector<PixelOffset> offsets(601);
        for (std::int64_t x = 0; x <= 600; ++x) {
            turn.column(x, offsets);
            for (std::int64_t y = 0; y <= 600; ++y)
                ASSERT_EQ(offsets[y], turn.defined(x, y)) << "angle " << angle << " at " << x << ", " << y;
        }
    }
}

TEST(PolarTurn, FarColumnsMatchToo)
{
    ExpectColumnsAsDefined(30, 20000, {1, 2, 997, 5000, 16499, 20000});
    ExpectColumnsAsDefined(77.7, 40000, {3, 12345, 40000});
    // Row 39469 of this column has an arctangent too near the midpoint of two
    // floats for the estimate to tell; at 25.7 degrees the guess would be a pixel off.
    ExpectColumnsAsDefined(25.7, 40000, {12539});
}

// At 30 degrees the angle of (239, 339), rounded to single precision, turns
// to (38, 413); held in double it would turn to (37, 413).
TEST(PolarTurn, HoldsThePolarAngleInSinglePrecision)
{
    PolarTurn turn(30, 400);
    EXPECT_EQ(turn.defined(239, 339), (PixelOffset{38, 413}));
    std::vector<PixelOffset> offsets(401);
    turn.column(239, offsets);
    EXPECT_EQ(offsets[339], (PixelOffset{38, 413}));
}
