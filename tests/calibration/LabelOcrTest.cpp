#include "calibration/AxisProposal.h"
#include "calibration/LabelNumber.h"
#include "calibration/LabelOcr.h"

#include "GeneratedPlot.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tracella {
namespace {

using namespace tracella::plots;

// Every tick's label read, then the scale they agree on.
void ExpectScale(LabelOcr& ocr, const QImage& picture, const FoundAxis& axis, const std::vector<QPointF>& ticks,
                 const QStringList& written, bool log)
{
    const std::vector<LabelledTick> read = ocr.readAxis(picture, axis);
    ASSERT_EQ(read.size(), std::size_t(written.size()));
    int right = 0;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const auto readValue = ReadLabelNumber(read[i].text), writtenValue = ReadLabelNumber(written[int(i)]);
        right += !readValue.empty() && readValue.front().value == writtenValue.front().value;
    }
    EXPECT_GE(right, written.size() - 1) << "of " << written.join(' ').toStdString();
    const LabelScale scale = FitLabels(read);
    ASSERT_EQ(scale.kind, log ? AxisKind::Log : AxisKind::Linear) << scale.missing.toStdString();
    EXPECT_EQ(scale.first.label, 0u);
    EXPECT_EQ(scale.second.label, read.size() - 1);
    EXPECT_EQ(scale.first.value, ReadLabelNumber(written.front()).front().value);
    EXPECT_EQ(scale.second.value, ReadLabelNumber(written.back()).front().value);
    for (const std::size_t end : {scale.first.label, scale.second.label}) {
        const QPointF miss = read[end].pixel - ticks[end];
        EXPECT_LT(std::hypot(miss.x(), miss.y()), 0.5);
    }
}

class ReadLabels : public ::testing::TestWithParam<Style> {};

TEST_P(ReadLabels, ReadsTheLabelsOfBothAxesIntoAScale)
{
    static LabelOcr ocr;
    ASSERT_TRUE(ocr.error().isEmpty()) << ocr.error().toStdString();
    const Plot plot = Draw(GetParam());
    const AxisFindings found = FindAxes(plot.image);
    {
        SCOPED_TRACE("X");
        ExpectScale(ocr, plot.image, found.x, plot.xTicks, plot.xLabels, plot.xLog);
    }
    {
        SCOPED_TRACE("Y");
        ExpectScale(ocr, plot.image, found.y, plot.yTicks, plot.yLabels, plot.yLog);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ReadLabels,
    ::testing::Values(Style{"turnedJpeg", {1000, 750}, 1.2, true, true, true},
                      Style{"labelsAbove", {800, 600}, 0, false, false, true, false, true, true, true},
                      // Short labels turned: "0" and "10" are no taller than wide.
                      Style{.name = "yLabelsTurnedShort", .size = {1184, 942}, .labels = true, .yLabelsTurned = true,
                            .yNumbers = Numbers::Negative, .family = "DejaVu Sans Mono", .letters = 11.86},
                      // Searched reduced: the label starts where the tick truly ends.
                      Style{.name = "large", .size = {3505, 2628}, .labels = true, .yNumbers = Numbers::Negative,
                            .family = "DejaVu Sans Mono", .letters = 13.23},
                      // 10 with its exponent raised, read apart.
                      Style{.name = "raisedExponentsTurned", .size = {1000, 750}, .labels = true,
                            .yLabelsTurned = true, .yNumbers = Numbers::LogPower, .family = "DejaVu Serif",
                            .letters = 16}),
    [](const auto& info) { return std::string(info.param.name); });

// Minor ticks between the decades, closer together than the labels are high:
// each decade's label is still read whole, and by its own tick alone. The
// tick of 1 is at the axes' corner, which is never used.
TEST(LabelOcr, ALogAxisWithMinorTicksIsProposed)
{
    LabelOcr ocr;
    const QImage example(QStringLiteral(TRACELLA_EXAMPLES_DIR "/log-graph.png"));
    ASSERT_FALSE(example.isNull());
    const AxisProposal proposal = ProposeAxes(example, {}, ocr);
    EXPECT_EQ(proposal.x.kind, AxisKind::Linear) << proposal.x.missing.toStdString();
    ASSERT_EQ(proposal.y.kind, AxisKind::Log) << proposal.y.missing.toStdString();
    EXPECT_EQ(proposal.y.firstValue, 10000);
    EXPECT_EQ(proposal.y.secondValue, 10);
    EXPECT_LT(QLineF(proposal.y.first, QPointF(100, 60)).length(), 0.5);
    EXPECT_LT(QLineF(proposal.y.second, QPointF(100, 420)).length(), 0.5);
}

TEST(LabelOcr, NamesThePackageWhenTheLanguageFileIsMissing)
{
    const QTemporaryDir empty;
    LabelOcr ocr(empty.path());
    EXPECT_TRUE(ocr.error().contains(QStringLiteral("tesseract-ocr-eng")));
    EXPECT_TRUE(ocr.readLine(QImage(40, 20, QImage::Format_RGB32)).isEmpty());
}

} // namespace
} // namespace tracella
