#include "extract/ColourSweep.h"

#include "extract/PictureColours.h"
#include "extract/SweepProgress.h"

#include <gtest/gtest.h>

#include <vector>

namespace tracella {
namespace {

QRgb PixelOf(Colour c)
{
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

QImage Filled(int width, int height, Colour c)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(PixelOf(c));
    return picture;
}

struct Sample {
    double x;
    float y;
    friend bool operator==(const Sample&, const Sample&) = default;
};

struct SweepRun {
    std::vector<Sample> matches;
    std::vector<int> progress;
    SweepResult result;
};

SweepRun Sweep(const QImage& picture, const SweepSettings& settings, const SweepLimits& limits = {})
{
    SweepRun run;
    SweepHandlers handlers;
    handlers.match = [&](double x, float y) {
        run.matches.push_back({x, y});
        return SweepAnswer::Continue;
    };
    handlers.progress = [&](int shown) { run.progress.push_back(shown); };
    run.result = SweepColours(picture, settings, handlers, limits);
    return run;
}

// The colour of the test pictures: every sample inside them is reported, so
// the reports show the sample positions.
constexpr Colour Everywhere = 50;
constexpr Colour Backdrop = Rgb(240, 240, 240);

std::vector<Sample> Grid(std::initializer_list<double> xs, std::initializer_list<float> ys)
{
    std::vector<Sample> grid;
    for (double x : xs)
        for (float y : ys)
            grid.push_back({x, y});
    return grid;
}

// Transparent pixels read as the backdrop they are seen on, half-transparent
// ones as mixed with it; a transparent GIF's background is no black curve.
TEST(PictureColours, ReadsTransparentPixelsOverTheBackdrop)
{
    const QRgb alphas[] = {qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 128), qRgba(0, 0, 0, 255)};
    QImage argb(3, 1, QImage::Format_ARGB32);
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({alphas[0], alphas[1], alphas[2]});
    for (int i = 0; i < 3; ++i) {
        argb.setPixel(i, 0, alphas[i]);
        indexed.setPixel(i, 0, static_cast<uint>(i));
    }
    for (const QImage& picture : {argb, indexed}) {
        const PictureColours colours(picture, {0, 1, 3, 0}, Backdrop);
        EXPECT_EQ(colours.ColourAt(0, 1), Backdrop);
        const Colour half = colours.ColourAt(1, 1);
        EXPECT_EQ(RedOf(half), GreenOf(half));
        EXPECT_NEAR(RedOf(half), 240 * 127 / 255, 1);
        EXPECT_EQ(colours.ColourAt(2, 1), Rgb(0, 0, 0));
    }
    // With black wanted, only the opaque pixel is found.
    EXPECT_EQ(Sweep(argb, {{0, 1, 3, 0}, 3, 1, Rgb(0, 0, 0), Backdrop}).matches, (std::vector<Sample>{{2, 1}}));
}

TEST(ColourMatch, ComparesPackedValuesWithinOneHundred)
{
    const Colour wanted = Rgb(250, 0, 0);
    const std::pair<Colour, bool> rows[] = {{wanted + 100, true}, {wanted + 101, false}, {wanted - 101, false},
                                            {Rgb(250, 1, 0), false}}; // green off by one is 256 away
    for (const auto& [colour, matches] : rows) {
        EXPECT_EQ(ColourMatches(colour, wanted), matches) << colour;
        // The same through a whole sweep of one sample on pixel (0, 0).
        EXPECT_EQ(Sweep(Filled(1, 1, colour), {BaseFrame, 0, 0, wanted}).result.found, matches ? 1 : 0) << colour;
    }
    EXPECT_FALSE(ColourMatches(Rgb(255, 255, 255), std::numeric_limits<Colour>::min()));
}

// The far edges lie outside the picture (ColourAt reads -1 there, which would
// match a wanted black), so their samples show only in the progress: 5 x 5
// samples reach the maximum of 4 * 4 + 4 + 4, 4 x 4 would not.
TEST(ColourSweep, IncludesBothEndsWhenReachedAndFollowsTheStepsSign)
{
    const QImage picture = Filled(16, 16, Everywhere);
    const Frame down{0, 8, 8, 0}, up{8, 0, 0, 8};
    const struct {
        QImage picture;
        SweepSettings settings;
        std::vector<Sample> matches;
    } cases[] = {
        {picture, {down, 4, 4, Everywhere}, Grid({0, 2, 4, 6}, {8, 6, 4, 2})},
        // Right below left and bottom below top: both steps turn round.
        {picture, {up, 4, 4, Everywhere}, Grid({8, 6, 4, 2}, {0, 2, 4, 6})},
        {Filled(16, 16, Rgb(0, 0, 0)), {down, 4, 4, Rgb(0, 0, 0)}, Grid({0, 2, 4, 6}, {8, 6, 4, 2})},
        // A count of 0 keeps only the first column or row.
        {picture, {up, 0, 0, Everywhere}, Grid({8}, {0})},
        // A step that cannot move the position visits its start once instead
        // of for ever: a row step below the precision.
        {picture, {{0, 16777216, 8, 0}, 4, 1 << 26, Everywhere}, Grid({0, 2, 4, 6}, {16777216})},
        // A frame without width is mapped nowhere; negative counts sweep nothing.
        {picture, {{5, 8, 5, 0}, 4, 4, Everywhere}, {}},
        {picture, {down, 4, -1, Everywhere}, {}},
        {QImage(), {down, 4, 4, Rgb(0, 0, 0)}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.settings.columns << " x " << c.settings.rows << " from "
                                        << c.settings.frame.left);
        for (const SweepLimits limits : {SweepLimits{}, SweepLimits{1, 1}, SweepLimits{3, 2}}) {
            if (c.settings.rows > 4 && limits.bandColumns < 8192)
                continue;
            const SweepRun run = Sweep(c.picture, c.settings, limits);
            EXPECT_EQ(run.matches, c.matches);
            EXPECT_EQ(run.result.found, static_cast<std::int64_t>(c.matches.size()));
            if (c.settings.columns == 4 && c.settings.rows == 4 && !c.matches.empty()) {
                EXPECT_EQ(run.progress.back(), ProgressResolution);
            }
            if (c.settings.columns < 0 || c.settings.rows < 0) {
                EXPECT_TRUE(run.progress.empty());
            }
        }
    }
}

// With more samples than the bar has steps it moves one step at a time.
TEST(ColourSweep, ProgressTakesEveryStepOfTheBar)
{
    const SweepRun run = Sweep(Filled(16, 16, Everywhere), {{0, 8, 8, 0}, 60, 60, Everywhere});
    ASSERT_GE(run.progress.size(), 900u);
    for (std::size_t i = 0; i < 900; ++i)
        ASSERT_EQ(run.progress[i], static_cast<int>(i) + 1);
}

} // namespace
} // namespace tracella
