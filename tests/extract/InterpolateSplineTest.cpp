#include "ExtractGuiSupport.h"

#include "app/services/Services.h"
#include "extract/ExtractMessages.h"
#include "extract/Interpolation.h"
#include "extract/SingleArithmetic.h"
#include "support/Expect.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace tracella;
using namespace tracella::test;

namespace {

void AddRows(std::initializer_list<std::pair<double, double>> points)
{
    for (const auto& [x, y] : points)
        ASSERT_FALSE(app().data->AppendPointRow({x, false}, {y, false}));
}

void Interpolate(TestApp& t, MessageAnswer answer)
{
    t.services().messages.answer(answer);
    t.run(QStringLiteral("mnuDataSpline"));
}

int PixelsOf(const QImage& image, Colour colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == PixelOf(colour);
    return count;
}

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

} // namespace

TEST(Interpolate, FourRowsAreTheFewestThatInterpolate)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200)); // 20 pixels a unit on both axes
    appState().SplinePoints = 6;
    AddRows({{0, 0}, {1, 1}, {2, 4}});
    Interpolate(t, MessageAnswer::Ok);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], InsufficientDataMessage());
    EXPECT_EQ(Grid().dataRowCount(), 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    AddRows({{3, 9}});
    PictureAtMessages watch(t);
    Interpolate(t, MessageAnswer::Yes);
    ASSERT_EQ(t.services().messages.shown.size(), 2u);
    ExpectMessage(t.services().messages.shown[1], AddInterpolatedPointsMessage());
    // While asked: the four points of the refresh and the six previewed ones.
    ASSERT_EQ(watch.markers.size(), 1u);
    EXPECT_EQ(watch.markers[0], 4 + 6);
    EXPECT_EQ(PixelsOf(watch.pictures[0], appState().SplineColor), 6);
    EXPECT_EQ(watch.pictures[0].pixel(10, 193), PixelOf(appState().SplineColor)); // (0.5, 0.35)

    ASSERT_EQ(Grid().dataRowCount(), 10);
    const double xs[] = {0.5, 1, 1.5, 2, 2.5, 3};
    const QString xTexts[] = {" .5", " 1", " 1.5", " 2", " 2.5", " 3"};
    const double ys[] = {0.35, 1, 2.2, 4, 6.35, 9};
    for (int k = 0; k < 6; ++k) {
        const int row = 5 + k;
        EXPECT_EQ(Grid().cell(row, 0), QStringLiteral(" %1").arg(row));
        EXPECT_EQ(Grid().cell(row, 1), xTexts[k]);
        EXPECT_NEAR(CellValue(row, 1), xs[k], 1e-7);
        EXPECT_NEAR(CellValue(row, 2), ys[k], 5e-6 * ys[k]) << row;
    }
    // The refresh redrew every row in the points colour.
    EXPECT_EQ(Surface().markerCount(), 10);
    EXPECT_EQ(PixelsOf(Surface().composedImage(), appState().SplineColor), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Interpolate, AnswerNoKeepsOnlyTheRemovalOfRepeatedRowsAndTheSort)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200));
    appState().SplinePoints = 6;
    AddRows({{3, 9}, {1, 1}, {0, 0}, {1, 1}, {2, 4}});
    PictureAtMessages watch(t);
    Interpolate(t, MessageAnswer::No);
    ASSERT_EQ(watch.pictures.size(), 1u);
    EXPECT_EQ(PixelsOf(watch.pictures[0], appState().SplineColor), 6);

    ASSERT_EQ(Grid().dataRowCount(), 4);
    const double xs[] = {0, 1, 2, 3};
    const double ys[] = {0, 1, 4, 9};
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(CellValue(row, 0), row);
        EXPECT_EQ(CellValue(row, 1), xs[row - 1]);
        EXPECT_EQ(CellValue(row, 2), ys[row - 1]);
    }
    // The preview is gone; the refresh drew the points again.
    EXPECT_EQ(Surface().markerCount(), 4);
    EXPECT_EQ(PixelsOf(Surface().composedImage(), appState().SplineColor), 0);
}

// With Y independent the curve is a function of Y: the rows end up sorted by
// Y and the new rows still carry X in the X column.
TEST(Interpolate, YIndependentKeepsTheColumnsAndSortsByY)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200));
    appState().SplineOnX = false;
    appState().SplinePoints = 3;
    AddRows({{0, 3}, {5, 0}, {3, 2}, {2, 1}});
    Interpolate(t, MessageAnswer::Yes);
    EXPECT_FALSE(app().data->sortOnX());
    ASSERT_EQ(Grid().dataRowCount(), 7);
    const double xs[] = {5, 2, 3, 0};
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(CellValue(row, 2), row - 1);
        EXPECT_EQ(CellValue(row, 1), xs[row - 1]);
    }
    // SplinePoints 3 lands on the last three data points.
    const QString yTexts[] = {" 1", " 2", " 3"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Grid().cell(5 + k, 2), yTexts[k]);
        EXPECT_NEAR(CellValue(5 + k, 1), xs[k + 1], 1e-5);
    }
}

// Equal X with different Y: h = 0 on X. The same rows interpolate on Y.
TEST(Interpolate, EqualIndependentValuesFailAndTheOtherVariableWorks)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200));
    appState().SplinePoints = 3;
    AddRows({{2, 3}, {1, 1}, {1, 2}, {3, 4}});
    Interpolate(t, MessageAnswer::Ok);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], InterpolationFailedMessage(DivisionByZeroError()));
    EXPECT_EQ(Grid().dataRowCount(), 4);
    EXPECT_EQ(CellValue(4, 1), 3);
    EXPECT_EQ(Surface().markerCount(), 4); // no preview
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // -2 points fail before the sort by the independent variable.
    appState().SplineOnX = false;
    appState().SplinePoints = -2;
    Interpolate(t, MessageAnswer::Ok);
    ExpectMessage(t.services().messages.shown.back(), InterpolationFailedMessage(*SplinePointsError(-2)));
    EXPECT_TRUE(app().data->sortOnX());

    appState().SplinePoints = 3;
    Interpolate(t, MessageAnswer::Yes);
    ExpectMessage(t.services().messages.shown.back(), AddInterpolatedPointsMessage());
    ASSERT_EQ(Grid().dataRowCount(), 7);
    const double xs[] = {1, 2, 3};
    const QString yTexts[] = {" 2", " 3", " 4"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Grid().cell(5 + k, 2), yTexts[k]);
        EXPECT_NEAR(CellValue(5 + k, 1), xs[k], 1e-5);
    }
}

// 5 rows and 40000 points pass the grid's 32766: nothing is offered or
// appended, and the message names the grid, not the independent variable.
TEST(Interpolate, MorePointsThanTheGridHoldsAppendNothing)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200));
    AddRows({{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}});
    appState().SplinePoints = 40000;
    Interpolate(t, MessageAnswer::Yes);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], GridCannotHoldMessage(MaxGridRowCount - 1, 5, 40000));
    EXPECT_EQ(t.services().messages.shown[0].text,
              QStringLiteral("The data grid cannot hold 40000 more points: it holds at most 32766 points and "
                             "already has 5."));
    EXPECT_EQ(Grid().dataRowCount(), 5);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // One point over is refused the same way.
    appState().SplinePoints = 32762;
    Interpolate(t, MessageAnswer::Yes);
    ExpectMessage(t.services().messages.shown.back(), GridCannotHoldMessage(MaxGridRowCount - 1, 5, 32762));
    EXPECT_EQ(Grid().dataRowCount(), 5);

    // Exactly up to the limit still fits.
    appState().SplinePoints = 32761;
    Interpolate(t, MessageAnswer::Yes);
    ExpectMessage(t.services().messages.shown.back(), AddInterpolatedPointsMessage());
    EXPECT_EQ(Grid().dataRowCount(), 32766);
}

// On a logarithmic axis the spline is fitted to the values themselves; one
// that dips to zero or below is offered and appended but has no marker.
TEST(Interpolate, NonPositiveValueOnLogAxisIsAppendedButNotDrawn)
{
    TestApp t;
    ShowPicture(t, WhitePicture(200, 200));
    const Frame frame{0, 2, 4, -3}; // Y from 10^2 at the top to 10^-3 at the bottom
    SetFrame(frame);
    appState().YAxisLog = true;
    appState().SplinePoints = 30;
    AddRows({{0, 10}, {1, 0.01}, {2, 10}, {3, 10}});
    PictureAtMessages watch(t);
    Interpolate(t, MessageAnswer::Yes);
    ASSERT_EQ(Grid().dataRowCount(), 34);

    int nonPositive = 0;
    for (int row = 5; row <= 34; ++row) {
        for (int column = 1; column <= 2; ++column) {
            EXPECT_TRUE(std::isfinite(CellValue(row, column)));
            EXPECT_FALSE(Grid().cell(row, column).contains(QStringLiteral("nan"), Qt::CaseInsensitive));
            EXPECT_FALSE(Grid().cell(row, column).contains(QStringLiteral("inf"), Qt::CaseInsensitive));
        }
        const double y = CellValue(row, 2);
        if (y <= 0) {
            ++nonPositive;
            continue;
        }
        // Previewed at the logarithm of its value.
        const int px = static_cast<int>(std::lround(CellValue(row, 1) * 200 / (frame.right - frame.left)));
        const int py = static_cast<int>(std::lround((std::log10(y) - frame.top) * 200 / (frame.bottom - frame.top)));
        ASSERT_EQ(watch.pictures.size(), 1u);
        if (px < 200 && py < 200) {
            EXPECT_EQ(watch.pictures[0].pixel(px, py), PixelOf(appState().SplineColor)) << row;
        }
    }
    ASSERT_GT(nonPositive, 0);
    EXPECT_EQ(watch.markers[0], 4 + 30 - nonPositive);
    EXPECT_EQ(Surface().markerCount(), 34 - nonPositive);
}
