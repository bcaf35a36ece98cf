#include "extract/NaturalSpline.h"

#include "extract/SingleArithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace tracella {
namespace {

NaturalSpline Fitted(std::vector<float> t, std::vector<float> v)
{
    auto fit = NaturalSpline::Fit(std::move(t), std::move(v));
    EXPECT_TRUE(std::holds_alternative<NaturalSpline>(fit));
    return std::get<NaturalSpline>(std::move(fit));
}

AppError FitError(std::vector<float> t, std::vector<float> v)
{
    auto fit = NaturalSpline::Fit(std::move(t), std::move(v));
    EXPECT_TRUE(std::holds_alternative<AppError>(fit));
    return std::holds_alternative<AppError>(fit) ? std::get<AppError>(fit) : AppError{};
}

// The interval search as a plain loop over every inner knot, counted from 1:
// j = N - 1; for i = N - 1 down to 2: if x < t(i) then j = i - 1.
std::size_t LinearInterval(const std::vector<float>& t, float x)
{
    const std::size_t n = t.size();
    std::size_t j = n - 1;
    for (std::size_t i = n - 1; i >= 2; --i) {
        if (x < t[i - 1])
            j = i - 1;
    }
    return j - 1;
}

TEST(NaturalSpline, FitsTheSquaresExample)
{
    const NaturalSpline spline = Fitted({0, 1, 2, 3}, {0, 1, 4, 9});
    EXPECT_EQ(spline.Coefficients().secondDerivatives, (std::vector<float>{0, 2.4f, 2.4f, 0}));
    const std::pair<float, float> expected[] = {{0.5f, 0.35f}, {1, 1}, {1.5f, 2.2f}, {2, 4}, {2.5f, 6.35f}, {3, 9}};
    for (const auto& [x, y] : expected)
        EXPECT_NEAR(std::get<float>(spline.ValueAt(x)), y, 1e-6 * y) << x;
    EXPECT_EQ(std::get<float>(spline.ValueAt(0)), 0.0f);
}

TEST(NaturalSpline, FailsAsSinglePrecisionArithmetic)
{
    const AppError equal = FitError({0, 1, 1, 3}, {0, 1, 2, 9});
    EXPECT_EQ(equal.number, ErrorNumber::DivisionByZero);
    EXPECT_EQ(equal.description, QStringLiteral("Division by zero"));
    // 6 * 3E+38 is beyond the range.
    EXPECT_EQ(FitError({0, 1, 2, 3}, {0, 3e38f, -3e38f, 0}).number, ErrorNumber::Overflow);
    EXPECT_EQ(FitError({-3e38f, 0, 1, 3e38f}, {0, 1, 2, 3}).number, ErrorNumber::Overflow);
    EXPECT_EQ(FitError({0, 1, 2, std::numeric_limits<float>::infinity()}, {0, 1, 2, 3}).number,
              ErrorNumber::Overflow);
    EXPECT_EQ(FitError({0, 1, 2, 3}, {0, std::nanf(""), 2, 3}).description, QStringLiteral("Undefined result"));

    EXPECT_EQ(FitError({0, 1, 2}, {0, 1, 4}).number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(FitError({0, 1, 2, 3}, {0, 1, 4}).number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(FitError({0, 2, 1, 3}, {0, 1, 4, 9}).number, ErrorNumber::InvalidArgument);

    // Far beyond the last knot the cubic leaves the range.
    const NaturalSpline spline = Fitted({0, 1, 2, 3}, {0, 1, 4, 9});
    EXPECT_EQ(std::get<AppError>(spline.ValueAt(1e13f)).number, ErrorNumber::Overflow);
    EXPECT_EQ(std::get<AppError>(spline.ValueAt(-1e13f)).number, ErrorNumber::Overflow);
    EXPECT_EQ(std::get<AppError>(spline.ValueAt(std::nanf(""))).description, QStringLiteral("Undefined result"));
}

TEST(NaturalSpline, GivesOnlyFiniteValuesOrAnError)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-1e6f, 1e6f);
    std::uniform_real_distribution<float> gap(1e-3f, 1e3f);
    for (int round = 0; round < 200; ++round) {
        std::vector<float> t{spread(random)}, v{spread(random)};
        for (int i = 0; i < 3 + round % 30; ++i) {
            t.push_back(static_cast<float>(t.back() + (round % 3 == 0 ? gap(random) * 1e30f : gap(random))));
            v.push_back(round % 5 == 0 ? spread(random) * 1e32f : spread(random));
        }
        auto fit = NaturalSpline::Fit(t, v);
        if (std::holds_alternative<AppError>(fit))
            continue;
        const auto& spline = std::get<NaturalSpline>(fit);
        for (float x : {t.front(), t.back(), (t.front() + t.back()) / 2, t.back() + (t.back() - t.front())}) {
            const auto value = spline.ValueAt(x);
            if (std::holds_alternative<float>(value)) {
                EXPECT_TRUE(std::isfinite(std::get<float>(value)));
            }
        }
        for (const auto* list : {&spline.Coefficients().linear, &spline.Coefficients().quadratic,
                                 &spline.Coefficients().cubic}) {
            for (float c : *list) {
                EXPECT_TRUE(std::isfinite(c));
            }
        }
    }
}

TEST(SplineInterval, AgreesWithTheLinearSearchEverywhere)
{
    std::mt19937 random(2004);
    for (int round = 0; round < 500; ++round) {
        // Few distinct values, so that equal neighbours are common.
        std::vector<float> knots(2 + random() % 40);
        for (float& k : knots)
            k = static_cast<float>(static_cast<int>(random() % 25) - 12) / 4;
        std::sort(knots.begin(), knots.end());

        std::vector<float> xs{-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(),
                              std::nanf(""), knots.front() - 1, knots.back() + 1};
        for (float k : knots) {
            xs.push_back(k);
            xs.push_back(std::nextafter(k, -INFINITY));
            xs.push_back(std::nextafter(k, INFINITY));
            xs.push_back(k + 0.125f);
        }
        for (float x : xs)
            ASSERT_EQ(SplineInterval(knots, x), LinearInterval(knots, x)) << round << " at " << x;
    }
}

} // namespace
} // namespace tracella
