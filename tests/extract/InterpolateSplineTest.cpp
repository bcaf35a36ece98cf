#include "ExtractGuiSupport.h"

#include "app/services/Services.h"
#include "extract/ExtractMessages.h"
#include "extract/Interpolation.h"
#include "extract/SingleArithmetic.h"
#include "support/Expect.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <utility>

using namespace tracella;
using namespace tracella::test;

namespace {

// Hands every message on to the scripted ones and keeps what the picture
// showed at that moment: the preview is on it while the question is asked.
class PictureAtMessages final : public MessageService {
public:
    explicit PictureAtMessages(TestApp& t) : scripted_(t.services().messages), previous_(services().messages)
    {
        services().messages = this;
    }
    ~PictureAtMessages() override { services().messages = previous_; }

    MessageAnswer show(const Message& message) override
    {
        markers.push_back(Surface().markerCount());
        pictures.push_back(Surface().composedImage());
        return scripted_.show(message);
    }

    std::vector<int> markers;
    std::vector<QImage> pictures;

private:
    MessageService& scripted_;
    MessageService* previous_;
};

// A 200 x 200 picture, 20 pixels a unit on both axes, with these rows.
struct SplineApp {
    TestApp t;
    explicit SplineApp(int splinePoints, std::initializer_list<std::pair<double, double>> points)
    {
        ShowPicture(t, WhitePicture(200, 200));
        appState().SplinePoints = splinePoints;
        add(points);
    }
    void add(std::initializer_list<std::pair<double, double>> points)
    {
        for (const auto& [x, y] : points)
            ASSERT_FALSE(app().data->AppendPointRow({x, false}, {y, false}));
    }
    // Runs the command, answering its one message.
    const Message& interpolate(MessageAnswer answer)
    {
        t.services().messages.answer(answer);
        t.run(QStringLiteral("mnuDataSpline"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return t.services().messages.shown.back();
    }
};

int PixelsOf(const QImage& image, Colour colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == PixelOf(colour);
    return count;
}

// Rows from the first given on: the texts of one column, the values of the other.
void ExpectRows(int first, int textColumn, std::vector<QString> texts, std::vector<double> values, double tolerance)
{
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const int row = first + static_cast<int>(k);
        EXPECT_EQ(Grid().cell(row, textColumn), texts[k]) << row;
        EXPECT_NEAR(CellValue(row, 3 - textColumn), values[k], tolerance * std::max(1.0, values[k])) << row;
    }
}

} // namespace

TEST(Interpolate, FourRowsAreTheFewestThatInterpolate)
{
    SplineApp s(6, {{0, 0}, {1, 1}, {2, 4}});
    ExpectMessage(s.interpolate(MessageAnswer::Ok), InsufficientDataMessage());
    EXPECT_EQ(Grid().dataRowCount(), 3);

    s.add({{3, 9}});
    PictureAtMessages watch(s.t);
    ExpectMessage(s.interpolate(MessageAnswer::Yes), AddInterpolatedPointsMessage());
    ASSERT_EQ(s.t.services().messages.shown.size(), 2u);
    // While asked: the four points of the refresh and the six previewed ones.
    ASSERT_EQ(watch.markers, std::vector<int>{4 + 6});
    EXPECT_EQ(PixelsOf(watch.pictures[0], appState().SplineColor), 6);
    ASSERT_EQ(Grid().dataRowCount(), 10);
    EXPECT_EQ(Grid().cell(10, 0), QStringLiteral(" 10"));
    ExpectRows(5, 1, {" .5", " 1", " 1.5", " 2", " 2.5", " 3"}, {0.35, 1, 2.2, 4, 6.35, 9}, 5e-6);
    // The refresh redrew every row in the points colour.
    EXPECT_EQ(Surface().markerCount(), 10);
    EXPECT_EQ(PixelsOf(Surface().composedImage(), appState().SplineColor), 0);
}

// With Y independent the curve is a function of Y: the rows end up sorted by
// Y and the new rows still carry X in the X column; SplinePoints 3 lands on
// the last three data points.
TEST(Interpolate, YIndependentKeepsTheColumnsAndSortsByY)
{
    SplineApp s(3, {{0, 3}, {5, 0}, {3, 2}, {2, 1}});
    appState().SplineOnX = false;
    s.interpolate(MessageAnswer::Yes);
    EXPECT_FALSE(app().data->sortOnX());
    ASSERT_EQ(Grid().dataRowCount(), 7);
    ExpectRows(1, 2, {"0", "1", "2", "3"}, {5, 2, 3, 0}, 0);
    ExpectRows(5, 2, {" 1", " 2", " 3"}, {2, 3, 0}, 1e-5);
}

// 5 rows and 40000 points pass the grid's 32766: nothing is offered or
// appended, and the message names the grid, not the independent variable.
// One point over is refused the same way; exactly up to the limit fits.
TEST(Interpolate, MorePointsThanTheGridHoldsAppendNothing)
{
    SplineApp s(40000, {{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}});
    ExpectMessage(s.interpolate(MessageAnswer::Yes), GridCannotHoldMessage(MaxGridRowCount - 1, 5, 40000));
    EXPECT_EQ(s.t.services().messages.shown[0].text,
              QStringLiteral("The data grid cannot hold 40000 more points: it holds at most 32766 points and "
                             "already has 5."));
    appState().SplinePoints = 32762;
    ExpectMessage(s.interpolate(MessageAnswer::Yes), GridCannotHoldMessage(MaxGridRowCount - 1, 5, 32762));
    EXPECT_EQ(Grid().dataRowCount(), 5);
    appState().SplinePoints = 32761;
    ExpectMessage(s.interpolate(MessageAnswer::Yes), AddInterpolatedPointsMessage());
    EXPECT_EQ(Grid().dataRowCount(), 32766);
}
