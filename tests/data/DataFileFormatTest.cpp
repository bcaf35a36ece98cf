#include "data/DataFileFormat.h"

#include "support/Expect.h"

#include <gtest/gtest.h>

using namespace tracella;

// An empty table is the header line alone.
TEST(DataFileBytes, WritesEachLayoutExactly)
{
    GridRows rows;
    ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(1, {1.5, true}, {-2, true})));
    ASSERT_FALSE(rows.appendRow(AppendPointRowTexts(2, {0.125, true}, {3, true})));
    const struct {
        DataFileLayout layout;
        int filterIndex;
        QByteArray header, rows;
    } cases[] = {
        {DataFileLayout::Space, 2, "= Point =          = X Axis =          = Y Axis =\r\n",
         " 1                  1.5                -2\r\n"
         " 2                  .125                3\r\n"},
        {DataFileLayout::Tab, 4, "\t= Point =\t= X Axis =\t= Y Axis =\r\n", "\t 1\t 1.5\t-2\r\n\t 2\t .125\t 3\r\n"},
        {DataFileLayout::Comma, 3, "\"= Point =\",\"= X Axis =\",\"= Y Axis =\"\r\n",
         "\" 1\",\" 1.5\",\"-2\"\r\n\" 2\",\" .125\",\" 3\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataFileBytes(rows, c.layout), c.header + c.rows);
        EXPECT_EQ(DataFileBytes(GridRows(), c.layout), c.header);
        EXPECT_EQ(LayoutForFilterIndex(c.filterIndex), c.layout);
    }
    EXPECT_EQ(LayoutForFilterIndex(1), DataFileLayout::Comma);
}

// A late field does not push the next one off its column; columns count characters, not bytes.
TEST(DataFileBytes, LongAndWideTextsInTheSpaceLayoutKeepTheFieldColumns)
{
    GridRows rows;
    ASSERT_FALSE(rows.appendRow({"2", "1.23456789012345E-05", "-2"})); // the X field exactly filled
    ASSERT_FALSE(rows.appendRow({"123456789012345678901234", "-1", "-2"}));
    ASSERT_FALSE(rows.appendRow({QStringLiteral("\u00e9t\u00e9"), QStringLiteral("\U0001D70B"), "x"}));
    const QByteArray bytes = DataFileBytes(rows, DataFileLayout::Space);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], "2                  1.23456789012345E-05 -2");
    EXPECT_EQ(lines[2].indexOf("-1") + 1, 26);
    EXPECT_EQ(lines[2].indexOf("-2") + 1, 40);
    EXPECT_EQ(lines[3].toUcs4().indexOf(0x1D70B) + 1, 20);
    EXPECT_EQ(lines[3].toUcs4().indexOf(U'x') + 1, 40);
}
