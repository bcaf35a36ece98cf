#include "data/DataFileFormat.h"

#include "support/Expect.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tracella;

namespace {

GridRows TwoPoints()
{
    GridRows rows;
    EXPECT_FALSE(rows.appendRow(AppendPointRowTexts(1, {1.5, true}, {-2, true})));
    EXPECT_FALSE(rows.appendRow(AppendPointRowTexts(2, {0.125, true}, {3, true})));
    return rows;
}

// Where a field starts in a line of the space layout, counted from 1.
qsizetype ColumnOf(const QString& line, const QString& text)
{
    return line.indexOf(text) + 1;
}

QStringList SpaceFields(const QByteArray& line)
{
    return QString::fromUtf8(line).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

} // namespace

// An empty table is the header line alone.
TEST(DataFileBytes, WritesEachLayoutExactly)
{
    const struct {
        DataFileLayout layout;
        QByteArray header, rows;
    } cases[] = {
        {DataFileLayout::Space, "= Point =          = X Axis =          = Y Axis =\r\n",
         " 1                  1.5                -2\r\n"
         " 2                  .125                3\r\n"},
        {DataFileLayout::Tab, "\t= Point =\t= X Axis =\t= Y Axis =\r\n", "\t 1\t 1.5\t-2\r\n\t 2\t .125\t 3\r\n"},
        {DataFileLayout::Comma, "\"= Point =\",\"= X Axis =\",\"= Y Axis =\"\r\n",
         "\" 1\",\" 1.5\",\"-2\"\r\n\" 2\",\" .125\",\" 3\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataFileBytes(TwoPoints(), c.layout), c.header + c.rows);
        EXPECT_EQ(DataFileBytes(GridRows(), c.layout), c.header);
    }
}

TEST(DataFileBytes, TheFilterIndexChoosesTheLayout)
{
    const DataFileLayout layouts[] = {DataFileLayout::Comma, DataFileLayout::Space, DataFileLayout::Comma,
                                      DataFileLayout::Tab};
    for (int index = 1; index <= 4; ++index)
        EXPECT_EQ(LayoutForFilterIndex(index), layouts[index - 1]) << index;
    EXPECT_EQ(DataFileFilter.split(u'|').at(2 * (DefaultDataFileFilterIndex - 1)), "Space Delimited (*.txt)");
}

TEST(DataFileBytes, LongTextsInTheSpaceLayoutStillLeaveThreeFields)
{
    GridRows rows;
    // 21 characters: one past the X field.
    ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(1, {1.23456789012345E+30, false}, {-2, true})));
    // 20 characters, as a sort writes it: the X field exactly filled.
    ASSERT_FALSE(rows.appendRow({"2", "1.23456789012345E-05", "-2"}));
    // A point number past its field, then a short X.
    ASSERT_FALSE(rows.appendRow({"123456789012345678901234", "-1", "-2"}));
    // A point number that fills its field exactly.
    ASSERT_FALSE(rows.appendRow({"1234567890123456789", "-1", "-2"}));

    const QList<QByteArray> lines = DataFileBytes(rows, DataFileLayout::Space).split('\n');
    ASSERT_EQ(lines.size(), 6); // five lines and the empty rest after the last line end
    for (int r = 1; r < rows.rowCount(); ++r) {
        const QByteArray& line = lines[r];
        ASSERT_TRUE(line.endsWith('\r'));
        EXPECT_EQ(SpaceFields(line), (QStringList{rows.cell(r, 0).trimmed(), rows.cell(r, 1).trimmed(),
                                                  rows.cell(r, 2).trimmed()}))
            << line.toStdString();
    }
    EXPECT_EQ(lines[1], " 1                  1.23456789012345E+30 -2\r");
    EXPECT_EQ(lines[2], "2                  1.23456789012345E-05 -2\r");
    // A late field does not push the next one off its column.
    EXPECT_EQ(ColumnOf(QString::fromUtf8(lines[3]), "-1"), 26);
    EXPECT_EQ(ColumnOf(QString::fromUtf8(lines[3]), "-2"), 40);
    EXPECT_EQ(ColumnOf(QString::fromUtf8(lines[4]), "-1"), 21);
    EXPECT_EQ(ColumnOf(QString::fromUtf8(lines[4]), "-2"), 40);
}

TEST(DataFileBytes, CountsCharactersNotBytesAndWritesUtf8WithoutMark)
{
    GridRows rows;
    ASSERT_FALSE(rows.appendRow({QStringLiteral("\u00e9t\u00e9"), QStringLiteral("\U0001D70B"), "x"}));
    const QByteArray bytes = DataFileBytes(rows, DataFileLayout::Space);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));

    const QString line = QString::fromUtf8(bytes).split(QStringLiteral("\r\n")).at(1);
    EXPECT_EQ(line.toUcs4().indexOf(0x1D70B) + 1, 20);
    EXPECT_EQ(line.toUcs4().indexOf(U'x') + 1, 40);
    EXPECT_TRUE(bytes.contains("\xC3\xA9t\xC3\xA9"));
}
