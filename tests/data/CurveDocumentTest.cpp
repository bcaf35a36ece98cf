#include "data/CurveDocument.h"
#include "data/CurveExport.h"

#include <gtest/gtest.h>

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

TEST(CurveDocument, RefusesBadNamesAndKeepsTheCurvesAsTheyWere)
{
    CurveDocument curves;
    ASSERT_FALSE(curves.add(QStringLiteral("Kinetics, 25 °C")));
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {QStringLiteral("  \u3000 "), "needs a name"},
        {QStringLiteral(" Kinetics, 25 °C "), "already"},
        {QString(201, u'x'), "at most 200"},
        {QStringLiteral("a\u2028b"), "control"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        const auto added = curves.add(c.name);
        ASSERT_TRUE(added);
        EXPECT_TRUE(added->contains(QLatin1String(c.reason))) << added->toStdString();
        EXPECT_TRUE(curves.rename(0, c.name));
    }
    EXPECT_EQ(curves.count(), 2);
    // Its own name is no duplicate; blanks around a name are dropped.
    EXPECT_FALSE(curves.rename(1, QStringLiteral("  Kinetics, 25 °C")));
    EXPECT_FALSE(curves.rename(0, QStringLiteral(" 曲線 α ")));
    EXPECT_EQ(curves.curve(0).name, QStringLiteral("曲線 α"));
    EXPECT_FALSE(curves.rename(0, QString(CurveDocument::MaxNameLength, u'y'))); // the longest allowed
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
}

TEST(CurveExport, WritesLongWideAndPerCurveFormsWithQuotedNamesAndTheCellTexts)
{
    CurveDocument curves;
    AddPoints(curves, {{" 1.5", "-2"}, {" 2", " .125"}});
    ASSERT_FALSE(curves.add(QStringLiteral("say \"hi\", a/b")));
    AddPoints(curves, {{"3", "4"}});
    ASSERT_FALSE(curves.add(QStringLiteral("empty")));
    const QString to = QStringLiteral("/d/run.1.csv");

    const auto longFiles = CurveExportFiles(curves, to, CurveExportLayout::Long);
    ASSERT_EQ(longFiles.size(), 1u);
    EXPECT_EQ(longFiles[0].path, to);
    EXPECT_EQ(longFiles[0].bytes, QByteArray("Curve,X,Y\r\nCurve 1, 1.5,-2\r\nCurve 1, 2, .125\r\n"
                                             "\"say \"\"hi\"\", a/b\",3,4\r\n"));
    const auto wide = CurveExportFiles(curves, to, CurveExportLayout::Wide);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].bytes, QByteArray("Curve 1 X,Curve 1 Y,\"say \"\"hi\"\", a/b X\",\"say \"\"hi\"\", a/b Y\","
                                        "empty X,empty Y\r\n"
                                        " 1.5,-2,3,4,,\r\n 2, .125,,,,\r\n"));
    const auto files = CurveExportFiles(curves, to, CurveExportLayout::PerCurve);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, "/d/run.1 - Curve 1.csv");
    EXPECT_EQ(files[1].path, "/d/run.1 - say _hi_, a_b.csv");
    EXPECT_EQ(files[1].bytes, DataFileBytes(curves.curve(1).rows, DataFileLayout::Comma));
}
