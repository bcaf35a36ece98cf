#include "DataGuiSupport.h"

#include "app/core/AppState.h"
#include "support/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// Eighty points with X texts " 7001" ... " 7080", scrolled so that row 20
// is the top row under the fixed header.
void FillAndScroll(TestApp& t)
{
    for (int i = 1; i <= 80; ++i)
        DataForm().AppendPointRow({7000.0 + i, true}, {-5000.0 - i, true});
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

// The page holds the header, the rows in view and nothing else.
void ExpectVisibleRowsOnOnePage(const QString& pdf)
{
    ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
    EXPECT_TRUE(Output(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const QString text = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("= Point ="))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("= Y Axis =")));
    QTableView* view = DataForm().gridView();
    const int lastInView = view->rowAt(view->viewport()->height() - 1);
    ASSERT_GT(lastInView, TopRow + 5);
    for (int row = TopRow; row < lastInView; ++row)
        EXPECT_TRUE(text.contains(XText(row))) << row;
    EXPECT_TRUE(text.contains(QStringLiteral("-5020")));
    EXPECT_FALSE(text.contains(XText(TopRow - 1)));
    EXPECT_FALSE(text.contains(XText(1)));
    EXPECT_FALSE(text.contains(XText(lastInView + 1)));
    EXPECT_FALSE(text.contains(XText(80)));
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
    const Message& question = t.services().messages.shown[0];
    EXPECT_EQ(question.text, QStringLiteral("Would you like to print the data in the table?"));
    EXPECT_EQ(question.title, QStringLiteral("Print"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    ExpectVisibleRowsOnOnePage(t.services().printers.pdfFile);
    EXPECT_FALSE(t.main().progressBarVisible());
    // The grid's current cell is the last one printed.
    EXPECT_GT(DataForm().currentRow(), TopRow);
    EXPECT_EQ(DataForm().gridView()->currentIndex().column(), 2);
}

TEST(DataPrint, NoAnswerOrNoPrinterPrintsNothing)
{
    TestApp t;
    AddPoints({{1, 2}});
    t.services().messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("mnuFilePrint"));
    EXPECT_EQ(t.services().messages.shown.size(), 1u);

    // No printer at all: the unexpected-error message, the bar hidden.
    t.services().messages.answer(MessageAnswer::Yes);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuFilePrint"));
    ASSERT_EQ(t.services().messages.shown.size(), 3u);
    const Message& error = t.services().messages.shown[2];
    EXPECT_TRUE(error.text.startsWith(QStringLiteral("Error #  482 was generated. \r"))) << error.text.toStdString();
    EXPECT_EQ(error.title, QStringLiteral("Error"));
    EXPECT_EQ(error.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(t.main().progressBarVisible());
    t.services().expectScriptsUsed();
}

// Run by tests/data/cups_print_test.sh, which starts CUPS with a PDF queue as
// the default printer and names the folder its PDF files land in.
TEST(DataPrint, PrintsThroughTheSystemSpooler)
{
    const QString spool = qEnvironmentVariable("TRACELLA_CUPS_PDF_DIR");
    if (spool.isEmpty())
        GTEST_SKIP() << "TRACELLA_CUPS_PDF_DIR is not set: tests/data/cups_print_test.sh runs this test with CUPS";
    if (QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "CUPS has no default printer";

    TestApp t;
    t.services().printers.useSystemPrinter = true;
    const QStringList before = QDir(spool).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    FillAndScroll(t);
    t.run(QStringLiteral("mnuFilePrint"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u) << t.services().messages.shown.back().text.toStdString();

    // The spooler writes the page a little later; wait until it is complete.
    QString pdf;
    qint64 lastSize = -1;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000) {
        for (const QString& name : QDir(spool).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time)) {
            if (!before.contains(name)) {
                pdf = QDir(spool).filePath(name);
                break;
            }
        }
        const qint64 size = pdf.isEmpty() ? -1 : QFileInfo(pdf).size();
        if (size > 0 && size == lastSize &&
            Output(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Pages:")))
            break;
        lastSize = size;
        TestApp::settle(500);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF arrived in " << spool.toStdString() << " within 60 s";
    ExpectVisibleRowsOnOnePage(pdf);
    QFile::remove(pdf);
}
