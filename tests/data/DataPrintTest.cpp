#include "DataGuiSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

using namespace tracella;
using namespace tracella::test;

namespace {

constexpr int TopRow = 20;

QString Output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Eighty points with X texts of 15 digits, as AutoRead gives them
// (" 7001.14285714286" ... " 7080.14285714286"), scrolled so that row 20
// is the top row under the fixed header.
void FillAndScroll(TestApp& t)
{
    for (int i = 1; i <= 80; ++i)
        DataForm().AppendPointRow({7000.0 + i + 1.0 / 7, false}, {-5000.0 - i, true});
    DataForm().Form_Resize();
    DataForm().setTopRow(TopRow);
    TestApp::settle();
    ASSERT_TRUE(DataForm().headerFixed());
    ASSERT_EQ(DataForm().topRow(), TopRow);
    t.services().messages.answer(MessageAnswer::Yes);
}

QString XText(int row)
{
    return QString::number(7000 + row);
}

// The page holds the header and the rows in view.
void ExpectVisibleRowsOnOnePage(const QString& pdf)
{
    ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
    EXPECT_TRUE(Output(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const QString text = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("= Y Axis ="))) << text.toStdString();
    QTableView* view = DataForm().gridView();
    const int lastInView = view->rowAt(view->viewport()->height() - 1);
    ASSERT_GT(lastInView, TopRow + 5);
    for (int row = TopRow; row < lastInView; ++row)
        EXPECT_TRUE(text.contains(XText(row))) << row;
    for (const int row : {1, TopRow - 1, lastInView + 1})
        EXPECT_FALSE(text.contains(XText(row))) << row;
    EXPECT_TRUE(text.contains(QStringLiteral(" 7030.14285714286")));
}

} // namespace

TEST(DataPrint, PrintsTheVisibleCellsToAPdfPrinter)
{
    TestApp t;
    QTemporaryDir folder;
    t.services().printers.pdfFile = folder.filePath(QStringLiteral("grid.pdf"));
    FillAndScroll(t);
    t.run(QStringLiteral("mnuFilePrint"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], QStringLiteral("Would you like to print the data in the table?"),
                  QStringLiteral("Print"), MessageIcon::Question, MessageButtons::YesNo);
    ExpectVisibleRowsOnOnePage(t.services().printers.pdfFile);
    EXPECT_FALSE(t.main().progressBarVisible());
    // The grid's current cell is the last one printed.
    EXPECT_GT(DataForm().currentRow(), TopRow);
    EXPECT_EQ(DataForm().gridView()->currentIndex().column(), 2);
}
