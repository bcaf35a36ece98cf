// AutoRead on the project's example graph through the running program:
// import, scale with mouse clicks on the reference corners, sweep for the
// curve's colour, and hold every found point against the true curve.
#include "ExtractGuiSupport.h"

#include "app/widgets/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace tracella;
using namespace tracella::test;

namespace {

const QString Examples = QStringLiteral(TRACELLA_EXAMPLES_DIR "/");

double TrueCurve(double x)
{
    return 20 + 60 * std::sin(x / 2);
}

// "name numbers..." lines of an example file, comments left out.
std::vector<QStringList> Lines(const QString& file, const QString& name = {})
{
    QFile in(Examples + file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    std::vector<QStringList> lines;
    for (const QString& line : QString::fromUtf8(in.readAll()).split(u'\n')) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.isEmpty() || fields[0].startsWith(u'#'))
            continue;
        if (name.isEmpty())
            lines.push_back(fields);
        else if (fields[0] == name)
            lines.push_back(fields.mid(1));
    }
    return lines;
}

// The calibration of the example: data value <-> pixel position.
struct Scale {
    double x0, y0, px0, py0; // first reference point
    double x1, y1, px1, py1;
    double pixelX(double x) const { return px0 + (x - x0) * (px1 - px0) / (x1 - x0); }
    double pixelY(double y) const { return py0 + (y - y0) * (py1 - py0) / (y1 - y0); }
};

} // namespace

TEST(AutoReadExample, FindsOnlyPointsOfTheCurve)
{
    const std::vector<QStringList> refs = Lines(QStringLiteral("linear-graph.ticks.txt"), QStringLiteral("ref"));
    const std::vector<QStringList> dots = Lines(QStringLiteral("linear-graph.points.txt"));
    ASSERT_EQ(refs.size(), 2u);
    ASSERT_EQ(dots.size(), 21u);
    const Scale scale{refs[0][0].toDouble(), refs[0][1].toDouble(), refs[0][2].toDouble(), refs[0][3].toDouble(),
                      refs[1][0].toDouble(), refs[1][1].toDouble(), refs[1][2].toDouble(), refs[1][3].toDouble()};

    TestApp t;
    t.services().files.choose(Examples + QStringLiteral("linear-graph.png"), 2);
    t.run(QStringLiteral("mnuPictureImport"));
    PictureSurface& surface = Surface();
    ASSERT_TRUE(surface.hasPicture());
    const QImage picture = surface.picture().image;

    t.services().messages.answer(MessageAnswer::Ok); // Scale Info
    t.main().action(QStringLiteral("mnuPictureScale"))->trigger();
    for (const QStringList& ref : refs) {
        t.services().input.reply(ref[0]);
        t.services().input.reply(ref[1]);
    }
    t.services().messages.answer(MessageAnswer::Yes); // Exit scale mode and scale picture?
    for (const QStringList& ref : refs)
        QTest::mouseClick(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(ref[2].toInt(), ref[3].toInt()));
    ASSERT_FALSE(appState().ScaleModeOn);
    ASSERT_EQ(Grid().dataRowCount(), 0);

    // One sample per pixel, in the curve's colour (the default).
    ASSERT_EQ(appState().ARDataColor, Rgb(250, 0, 0));
    appState().ARCols = picture.width();
    appState().ARRows = picture.height();
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuDataAR"));
    const int found = Grid().dataRowCount();
    ASSERT_GT(found, 1000);

    // The curve is drawn three pixels wide and each data point as a dot of
    // radius 3: a found point lies within one pixel beyond half that stroke.
    const double pixelX = std::abs(scale.x1 - scale.x0) / std::abs(scale.px1 - scale.px0);
    const double pixelY = std::abs(scale.y1 - scale.y0) / std::abs(scale.py1 - scale.py0);
    const QImage composed = surface.composedImage();
    std::set<int> columns;
    for (int row = 1; row <= found; ++row) {
        const double x = CellValue(row, 1);
        const double y = CellValue(row, 2);
        // In data units, measured in pixels.
        double nearest = INFINITY;
        for (double along = x - 4 * pixelX; along <= x + 4 * pixelX; along += pixelX / 20)
            nearest = std::min(nearest, std::hypot((along - x) / pixelX, (TrueCurve(along) - y) / pixelY));
        double nearestDot = INFINITY;
        for (const QStringList& dot : dots)
            nearestDot = std::min(nearestDot, std::hypot((dot[0].toDouble() - x) / pixelX,
                                                         (scale.pixelY(y) - dot[3].toDouble())));
        EXPECT_TRUE(nearest <= 1.5 + 1 || nearestDot <= 3 + 1)
            << "row " << row << " (" << x << ", " << y << ") lies " << nearest << " pixels off the curve";

        // The sweep read ink there and left its marker on that pixel.
        const QPoint pixel(static_cast<int>(std::lround(scale.pixelX(x))), static_cast<int>(std::lround(scale.pixelY(y))));
        EXPECT_EQ(picture.pixel(pixel), qRgb(250, 0, 0)) << "row " << row;
        EXPECT_EQ(composed.pixel(pixel), PixelOf(appState().ARPointColor)) << "row " << row;
        columns.insert(pixel.x());
    }
    // The whole curve, from its first data point to its last, was found.
    for (int column = dots.front()[2].toInt(); column <= dots.back()[2].toInt(); ++column)
        EXPECT_TRUE(columns.count(column)) << "column " << column;
    t.services().expectScriptsUsed();
}
