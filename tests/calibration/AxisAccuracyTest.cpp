#include "AxisAccuracy.h"

#include "calibration/LabelOcr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tracella::plots {
namespace {

AxisProposalSide Side(QPointF first, double firstValue, QPointF second, double secondValue)
{
    return {AxisKind::Linear, first, second, firstValue, secondValue, {}};
}

struct Direction {
    const char* name;
    QPointF first, second;
    double firstValue, secondValue;
    bool upright, rises;
};

class RisesAsPlottedTest : public ::testing::TestWithParam<Direction> {};

TEST_P(RisesAsPlottedTest, TakesLargerValuesUpAndRightOnly)
{
    const Direction& d = GetParam();
    EXPECT_EQ(RisesAsPlotted(Side(d.first, d.firstValue, d.second, d.secondValue), d.upright), d.rises);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, RisesAsPlottedTest,
    ::testing::Values(Direction{"xRight", {100, 500}, {700, 510}, -3, 3, false, true},
                      Direction{"xListedBackwards", {700, 510}, {100, 500}, 3, -3, false, true},
                      Direction{"xLeftwards", {100, 500}, {700, 510}, 3, -3, false, false},
                      Direction{"yUp", {80, 450}, {95, 40}, 0, 0.006, true, true},
                      Direction{"yDownwards", {80, 40}, {95, 450}, 0, 0.006, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A few of the accuracy table's figures, one of each hard style: each is
// calibrated without correction, as in the table.
class AccuracySample : public ::testing::TestWithParam<const char*> {};

TEST_P(AccuracySample, CalibratesBothAxes)
{
    static LabelOcr ocr;
    ASSERT_TRUE(ocr.error().isEmpty()) << ocr.error().toStdString();
    const std::vector<Style> figures = AccuracyFigures();
    const auto style = std::find_if(figures.begin(), figures.end(),
                                    [](const Style& s) { return std::strcmp(s.name, GetParam()) == 0; });
    ASSERT_NE(style, figures.end());
    const FigureOutcome o = Measure(*style, ocr);
    EXPECT_EQ(o.x, Outcome::Correct) << o.note.toStdString();
    EXPECT_EQ(o.y, Outcome::Correct) << o.note.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Styles, AccuracySample,
                         ::testing::Values("boxed", "log", "log 10 raised", "negative", "decimal comma", "turned 1-2°",
                                           "JPEG q60-80", "Y labels turned", "dates"),
                         [](const auto& info) { return "figure" + std::to_string(info.index); });

} // namespace
} // namespace tracella::plots
