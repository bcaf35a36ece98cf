#include "data/CurveDocument.h"
#include "data/CurveExport.h"

#include <gtest/gtest.h>

#include <set>

using namespace tracella;

namespace {

void AddPoints(CurveDocument& curves, std::initializer_list<std::pair<const char*, const char*>> points)
{
    for (const auto& [x, y] : points) {
        const int n = curves.rows().rowCount();
        ASSERT_FALSE(curves.appendRow({QString::number(n), QString::fromUtf8(x), QString::fromUtf8(y)}));
    }
}

} // namespace

TEST(CurveDocument, StartsWithOneCurveInThePointsColour)
{
    const CurveDocument curves;
    ASSERT_EQ(curves.count(), 1);
    EXPECT_EQ(curves.current().name, "Curve 1");
    EXPECT_EQ(curves.rows().rowCount(), 1);
    EXPECT_EQ(curves.colourOf(0, Rgb(80, 255, 30)), Rgb(80, 255, 30));
}

TEST(CurveDocument, RefusesBadNamesAndKeepsTheCurvesAsTheyWere)
{
    CurveDocument curves;
    ASSERT_FALSE(curves.add(QStringLiteral("Kinetics, 25 °C")));
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {QString(), "needs a name"},
        {QStringLiteral("  \u3000 "), "needs a name"},
        {QStringLiteral("Curve 1"), "already"},
        {QStringLiteral(" Kinetics, 25 °C "), "already"},
        {QString(10000, u'x'), "at most 200"},
        {QString(201, u'x'), "at most 200"},
        {QStringLiteral("a\tb"), "control"},
        {QStringLiteral("a\nb"), "control"},
        {QStringLiteral("a\u2028b"), "control"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        const auto added = curves.add(c.name);
        ASSERT_TRUE(added);
        EXPECT_TRUE(added->contains(QLatin1String(c.reason))) << added->toStdString();
        ASSERT_TRUE(curves.rename(0, c.name) || c.name.trimmed() == "Curve 1");
    }
    EXPECT_EQ(curves.count(), 2);
    EXPECT_EQ(curves.curve(0).name, "Curve 1");
    // Its own name is no duplicate; blanks around a name are dropped.
    EXPECT_FALSE(curves.rename(1, QStringLiteral("  Kinetics, 25 °C")));
    EXPECT_FALSE(curves.rename(0, QStringLiteral(" 曲線 α ")));
    EXPECT_EQ(curves.curve(0).name, QStringLiteral("曲線 α"));
    EXPECT_FALSE(curves.rename(0, QString(CurveDocument::MaxNameLength, u'y'))); // the longest allowed
}

TEST(CurveDocument, HoldsAHundredCurvesEachWithItsOwnRowsAndPaletteColour)
{
    CurveDocument curves;
    for (int i = 2; i <= 100; ++i) {
        ASSERT_FALSE(curves.add(curves.freeName()));
        EXPECT_EQ(curves.currentIndex(), i - 1);
        EXPECT_EQ(curves.current().name, QStringLiteral("Curve %1").arg(i));
        AddPoints(curves, {{"1", "2"}});
    }
    const auto& palette = CurveDocument::Palette();
    EXPECT_EQ(curves.colourOf(1, 0), palette[0]);
    EXPECT_EQ(curves.colourOf(2, 0), palette[1]);
    EXPECT_EQ(curves.colourOf(1 + static_cast<int>(palette.size()), 0), palette[0]);
    EXPECT_EQ(std::set<Colour>(palette.begin(), palette.end()).size(), palette.size());
    EXPECT_EQ(std::count(palette.begin(), palette.end(), Rgb(0, 0, 0)), 0);
    EXPECT_EQ(curves.curve(0).rows.rowCount(), 1);
    EXPECT_EQ(curves.curve(99).rows.rowCount(), 2);
    curves.setColour(0, Rgb(1, 2, 3));
    EXPECT_EQ(curves.colourOf(0, Rgb(80, 255, 30)), Rgb(1, 2, 3));
}

TEST(CurveDocument, DeletingKeepsTheCurrentCurveAndNeverTheLast)
{
    CurveDocument curves;
    ASSERT_FALSE(curves.add(QStringLiteral("B")));
    ASSERT_FALSE(curves.add(QStringLiteral("C")));
    const int idOfB = curves.curve(1).id;
    curves.setCurrent(1);
    ASSERT_FALSE(curves.remove(0));
    EXPECT_EQ(curves.current().name, "B");
    EXPECT_EQ(curves.indexOf(idOfB), 0);
    ASSERT_FALSE(curves.remove(0));
    EXPECT_EQ(curves.current().name, "C"); // its neighbour takes the deleted one's place
    const auto refused = curves.remove(0);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->contains(QLatin1String("last curve")));
    EXPECT_EQ(curves.count(), 1);
    EXPECT_EQ(curves.freeName(), "Curve 2");
    EXPECT_EQ(curves.indexOf(idOfB), -1);
}

TEST(CurveDocument, EachCurveIsFullOnItsOwn)
{
    CurveDocument curves;
    curves.editRows([](GridRows& rows) {
        while (rows.rowCount() < MaxGridRowCount)
            ASSERT_FALSE(rows.appendRow({}));
    });
    const auto refused = curves.appendRow({});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number, ErrorNumber::GridFull);
    ASSERT_FALSE(curves.add(QStringLiteral("B")));
    EXPECT_FALSE(curves.appendTabText(u"1\t2\t3"));
    EXPECT_EQ(curves.curve(0).rows.rowCount(), MaxGridRowCount);
    EXPECT_EQ(curves.current().rows.row(1), (GridRow{"1", "2", "3"}));
}

TEST(CurveExport, WritesLongAndWideFormsWithQuotedNamesAndTheCellTexts)
{
    CurveDocument curves;
    AddPoints(curves, {{" 1.5", "-2"}, {" 2", " .125"}});
    ASSERT_FALSE(curves.add(QStringLiteral("say \"hi\", twice")));
    AddPoints(curves, {{"3", "4"}});
    ASSERT_FALSE(curves.add(QStringLiteral("empty")));

    const auto longFiles = CurveExportFiles(curves, QStringLiteral("/d/all.csv"), CurveExportLayout::Long);
    ASSERT_EQ(longFiles.size(), 1u);
    EXPECT_EQ(longFiles[0].path, "/d/all.csv");
    EXPECT_EQ(longFiles[0].bytes, QByteArray("Curve,X,Y\r\nCurve 1, 1.5,-2\r\nCurve 1, 2, .125\r\n"
                                             "\"say \"\"hi\"\", twice\",3,4\r\n"));

    const auto wide = CurveExportFiles(curves, QStringLiteral("/d/all.csv"), CurveExportLayout::Wide);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].bytes, QByteArray("Curve 1 X,Curve 1 Y,\"say \"\"hi\"\", twice X\",\"say \"\"hi\"\", twice Y\","
                                        "empty X,empty Y\r\n"
                                        " 1.5,-2,3,4,,\r\n 2, .125,,,,\r\n"));
}

TEST(CurveExport, OneFilePerCurveWithPointsUnderSafeDistinctNames)
{
    CurveDocument curves;
    ASSERT_FALSE(curves.rename(0, QStringLiteral("a/b")));
    AddPoints(curves, {{"1", "2"}});
    ASSERT_FALSE(curves.add(QStringLiteral("A_b")));
    AddPoints(curves, {{"3", "4"}});
    ASSERT_FALSE(curves.add(QStringLiteral("no points")));

    const auto files = CurveExportFiles(curves, QStringLiteral("/d/run.1.csv"), CurveExportLayout::PerCurve);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, "/d/run.1 - a_b.csv");
    EXPECT_EQ(files[1].path, "/d/run.1 - A_b (2).csv");
    EXPECT_EQ(files[1].bytes, DataFileBytes(curves.curve(1).rows, DataFileLayout::Comma));
}

TEST(CurveExport, SafeNamePartsFitEveryFileSystem)
{
    const struct {
        QString name;
        QString safe;
    } cases[] = {
        {QStringLiteral("x<y>:\"z\"|?*\\"), QStringLiteral("x_y___z_____")},
        {QStringLiteral(".."), QStringLiteral("_")},
        {QStringLiteral(".hidden. "), QStringLiteral("_hidden")},
        {QStringLiteral("曲線"), QStringLiteral("曲線")},
        {QString(300, QChar(0x66f2)), QString(40, QChar(0x66f2))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeFileNamePart(c.name), c.safe) << c.name.left(20).toStdString();
    const QString emoji = QString(100, u'a') + QStringLiteral("😀😀😀😀😀😀");
    EXPECT_EQ(SafeFileNamePart(emoji), QString(100, u'a') + QStringLiteral("😀😀😀😀😀"));
}
