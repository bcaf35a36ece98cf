// Digitises the project's example graphs through the running program: import,
// scale with mouse clicks on the reference ticks, click every true data point,
// and compare the grid with the true values.
#include "app/core/AppState.h"
#include "app/core/NumberReading.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QAction>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;
using tracella::test::TestApp;

namespace {

// A value and the picture pixel it stands at.
struct Example {
    struct Point {
        double x, y;
        int px, py;
    };
    bool yLog = false;
    Point ref[2];
    std::vector<Point> points;
};

QStringList dataLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line.trimmed();
    }
    return lines;
}

Example readExample(const QString& name)
{
    const QString base = QStringLiteral(TRACELLA_EXAMPLES_DIR "/") + name;
    Example e;
    int refs = 0;
    for (const QString& line : dataLines(base + QStringLiteral(".ticks.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f[0] == QLatin1String("axes"))
            e.yLog = f[2] == QLatin1String("log");
        else if (f[0] == QLatin1String("ref") && refs < 2)
            e.ref[refs++] = {f[1].toDouble(), f[2].toDouble(), f[3].toInt(), f[4].toInt()};
    }
    for (const QString& line : dataLines(base + QStringLiteral(".points.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        e.points.push_back({f[0].toDouble(), f[1].toDouble(), f[2].toInt(), f[3].toInt()});
    }
    return e;
}

QString numberReply(double v)
{
    return QString::number(v, 'g', 17);
}

void digitise(TestApp& t, const QString& name)
{
    const Example e = readExample(name);
    ASSERT_EQ(e.points.size(), 21u);
    appState().YAxisLog = e.yLog; // as the options dialog would set it

    t.services().files.choose(QStringLiteral(TRACELLA_EXAMPLES_DIR "/") + name + QStringLiteral(".png"), 2);
    t.run(QStringLiteral("mnuPictureImport"));
    ASSERT_TRUE(app().document->surface()->hasPicture());


    t.services().messages.answer(MessageAnswer::Ok); // Scale Info
    t.main().action(QStringLiteral("mnuPictureScale"))->trigger();
    for (const auto& r : e.ref) {
        t.services().input.reply(numberReply(r.x));
        t.services().input.reply(numberReply(r.y));
    }
    t.services().messages.answer(MessageAnswer::Yes); // Exit scale mode and scale picture?
    PictureSurface* surface = app().document->surface();
    for (const auto& r : e.ref)
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(r.px, r.py));
    ASSERT_FALSE(appState().ScaleModeOn);
    ASSERT_FALSE(t.main().action(QStringLiteral("mnuPictureScale"))->isChecked());

    for (const auto& p : e.points)
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(p.px, p.py));

    const GridModel& grid = app().data->grid();
    ASSERT_EQ(grid.rows().rowCount(), static_cast<int>(e.points.size()) + 1);
    // Half a pixel's worth of data units on each axis.
    const double halfPixelX = 0.5 * std::abs(e.ref[1].x - e.ref[0].x) / std::abs(e.ref[1].px - e.ref[0].px);
    const double spanY = e.yLog ? std::log10(e.ref[1].y) - std::log10(e.ref[0].y) : e.ref[1].y - e.ref[0].y;
    const double halfPixelY = 0.5 * std::abs(spanY) / std::abs(e.ref[1].py - e.ref[0].py);
    for (size_t i = 0; i < e.points.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        EXPECT_EQ(grid.rows().cell(row, 0), QStringLiteral(" %1").arg(row));
        const double x = LeadingNumber(grid.rows().cell(row, 1));
        const double y = LeadingNumber(grid.rows().cell(row, 2));
        EXPECT_NEAR(x, e.points[i].x, halfPixelX) << "point " << row;
        if (e.yLog)
            EXPECT_NEAR(std::log10(y), std::log10(e.points[i].y), halfPixelY) << "point " << row;
        else
            EXPECT_NEAR(y, e.points[i].y, halfPixelY) << "point " << row;
    }
    t.services().expectScriptsUsed();
}

} // namespace

TEST(DigitiseExample, ReadsEachExampleGraph)
{
    for (const char* name : {"linear-graph", "log-graph"}) {
        SCOPED_TRACE(name);
        TestApp t;
        digitise(t, QString::fromLatin1(name));
    }
}
