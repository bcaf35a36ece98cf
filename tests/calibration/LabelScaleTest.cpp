#include "calibration/LabelNumber.h"
#include "calibration/LabelScale.h"
#include "app/core/IsoDate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tracella {
namespace {

struct Spelling {
    const char* text;
    std::vector<double> values; // the likelier first
};

class ReadLabelNumberTest : public ::testing::TestWithParam<Spelling> {};

TEST_P(ReadLabelNumberTest, ReadsEverySpellingOfANumber)
{
    const Spelling& s = GetParam();
    const std::vector<LabelReading> read = ReadLabelNumber(QString::fromUtf8(s.text));
    ASSERT_EQ(read.size(), s.values.size()) << s.text;
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_NEAR(read[i].value, s.values[i], std::abs(s.values[i]) * 1e-12) << s.text;
        EXPECT_EQ(read[i].likelier, i == 0) << s.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Labels, ReadLabelNumberTest,
    ::testing::Values(Spelling{"12", {12}}, Spelling{"−3.5", {-3.5}}, Spelling{"–0,25", {-0.25}},
                      Spelling{"+.5", {0.5}}, Spelling{"1 000", {1000}}, Spelling{"1\u202f000,5", {1000.5}},
                      Spelling{"1'250", {1250}}, Spelling{"1,000,000", {1e6}}, Spelling{"1.234.567", {1234567}},
                      Spelling{"1.234,5", {1234.5}}, Spelling{"1,234.5", {1234.5}}, Spelling{"1,5", {1.5}},
                      Spelling{"1,500", {1.5, 1500}}, Spelling{"2,000", {2000, 2}},
                      Spelling{"123,456", {123.456, 123456}}, Spelling{"123.456.789", {123456789}}, Spelling{"0,125", {0.125}},
                      Spelling{"1e-3", {1e-3}}, Spelling{"2.5E+04", {2.5e4}}, Spelling{"1×10^-3", {1e-3}},
                      Spelling{"3x10⁻²", {0.03}}, Spelling{"2·10³", {2000}}, Spelling{"10⁻³", {1e-3}},
                      Spelling{"10⁰", {1}}, Spelling{"−10²", {-100}}, Spelling{"10^4", {1e4}},
                      Spelling{"", {}}, Spelling{"abc", {}}, Spelling{"12a", {}}, Spelling{"1.2.3", {}},
                      Spelling{"1,23,4", {}}, Spelling{"e5", {}}, Spelling{".", {}}, Spelling{"--1", {}},
                      // A leading nought before a digit is a decimal mark lost in reading.
                      Spelling{"05", {}}, Spelling{"−05", {}}, Spelling{"00", {}}, Spelling{"0015", {}}));

// Labelled ticks evenly spaced from `start`, `step` pixels apart, and what
// the scale through them must be.
struct Axis {
    const char* name;
    std::vector<const char*> texts;
    QPointF start, step;
    std::optional<AxisKind> kind;
    std::size_t first = 0, second = 0; // the references expected
    std::vector<std::size_t> rejected;
};

class FitLabelsTest : public ::testing::TestWithParam<Axis> {};

// What a label says on an axis of that kind: dates in seconds.
double Said(const QString& text, AxisKind kind)
{
    return kind == AxisKind::Date ? ParseIsoDate(text)->seconds : ReadLabelNumber(text).front().value;
}

TEST_P(FitLabelsTest, AcceptsOnlyLabelsOnOneProgression)
{
    const Axis& a = GetParam();
    std::vector<LabelledTick> labels;
    for (std::size_t i = 0; i < a.texts.size(); ++i)
        labels.push_back({a.start + double(i) * a.step, QString::fromUtf8(a.texts[i])});
    const LabelScale scale = FitLabels(labels);
    ASSERT_EQ(scale.kind, a.kind) << scale.missing.toStdString();
    if (!a.kind) {
        EXPECT_FALSE(scale.missing.isEmpty());
        EXPECT_TRUE(scale.agreeing.empty());
        return;
    }
    EXPECT_TRUE(scale.missing.isEmpty());
    EXPECT_EQ(scale.first.label, a.first);
    EXPECT_EQ(scale.second.label, a.second);
    EXPECT_EQ(scale.first.value, Said(labels[a.first].text, *a.kind));
    EXPECT_EQ(scale.second.value, Said(labels[a.second].text, *a.kind));
    ASSERT_EQ(scale.agreeing.size() + a.rejected.size(), a.texts.size());
    for (const std::size_t r : a.rejected)
        EXPECT_EQ(std::count(scale.agreeing.begin(), scale.agreeing.end(), r), 0) << "label " << r;
    // The misread labels do not bend the scale through the others.
    for (const double residual : scale.residuals)
        EXPECT_LT(residual, 0.01);
}

const QPointF Across(83.4, 0.9), Down(-0.8, 61.7);

INSTANTIATE_TEST_SUITE_P(
    Axes, FitLabelsTest,
    ::testing::Values(
        Axis{"oneMisread", {"0", "10", "20", "80", "40", "50", "60"}, {100, 500}, Across, AxisKind::Linear, 0, 6, {3}},
        Axis{"endMisread", {"0", "10", "20", "30", "40", "50", "00"}, {100, 500}, Across, AxisKind::Linear, 0, 5, {6}},
        Axis{"unreadable", {"-5", "?", "5", "10", "15"}, {40, 300}, Across, AxisKind::Linear, 0, 4, {1}},
        Axis{"yDownwards", {"1.5", "1.0", "0.5", "0.0", "−0.5"}, {60, 40}, Down, AxisKind::Linear, 0, 4, {}},
        Axis{"decimalComma", {"−1,0", "−0,5", "0,0", "0,5", "1,0"}, {60, 40}, Down, AxisKind::Linear, 0, 4, {}},
        Axis{"thousandsDecide", {"0", "500", "1,000", "1,500", "2,000"}, {0, 0}, Across, AxisKind::Linear, 0, 4, {}},
        Axis{"decades", {"1", "10", "100", "1000"}, {90, 700}, Across, AxisKind::Log, 0, 3, {}},
        Axis{"superscripts", {"10⁻³", "10⁻²", "10⁻¹", "10⁰", "10¹"}, {60, 40}, Down, AxisKind::Log, 0, 4, {}},
        Axis{"scientificMisread", {"1e-3", "1e-2", "1e-5", "1e0", "1e1"}, {60, 40}, Down, AxisKind::Log, 0, 4, {2}},
        Axis{"twoWithZero", {"0", "100"}, {50, 50}, Across, AxisKind::Linear, 0, 1, {}},
        Axis{"oneOnly", {"x", "25", "y"}, {50, 50}, Across, std::nullopt, 0, 0, {}},
        Axis{"noProgression", {"5", "17", "3", "40", "2"}, {50, 50}, Across, std::nullopt, 0, 0, {}},
        Axis{"halfMisread", {"0", "10", "20", "70", "90", "15"}, {50, 50}, Across, std::nullopt, 0, 0, {}},
        Axis{"commasLost", {"0,0", "05", "1,0", "15", "2,0", "25", "3,0"}, {50, 50}, Across, AxisKind::Linear, 0, 6,
             {1, 3, 5}},
        Axis{"weeks", {"2024-02-19", "2024-02-26", "2024-03-04", "2024-03-11", "2024-03-18"}, {100, 500}, Across,
             AxisKind::Date, 0, 4, {}},
        Axis{"dateMisread", {"2024-02-19", "2024-02-26", "2024-08-04", "2024-03-11", "2024-03-18"}, {100, 500},
             Across, AxisKind::Date, 0, 4, {2}},
        Axis{"datesOutOfStep", {"2024-01-01", "2024-03-01", "2024-01-09", "2024-07-30"}, {100, 500}, Across,
             std::nullopt, 0, 0, {}},
        Axis{"twoProgressionsAlike", {"0", "5", "1", "15", "2", "25", "3"}, {50, 50}, Across, std::nullopt, 0, 0,
             {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tracella
