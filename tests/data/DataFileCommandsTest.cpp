#include "DataGuiSupport.h"

#include "app/services/SharedDialog.h"
#include "support/SmallFileSystem.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>

#include <unistd.h>

using namespace tracella;
using namespace tracella::test;

namespace {

const QString Filter = QStringLiteral(
    "All Files (*.*)|*.*|Space Delimited (*.txt)|*.txt|Comma Delimited (*.csv)|*.csv|Tab Delimited (*.dat)|*.dat");
const QByteArray CommaFile = "\"= Point =\",\"= X Axis =\",\"= Y Axis =\"\r\n\" 1\",\" 1.5\",\"-2\"\r\n";
const QByteArray TabFile = "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n";
// Fields from character columns 1, 20 and 40.
const QByteArray SpaceFile = "= Point =" + QByteArray(10, ' ') + "= X Axis =" + QByteArray(10, ' ') + "= Y Axis =\r\n" +
                             " 1" + QByteArray(17, ' ') + " 1.5" + QByteArray(16, ' ') + "-2\r\n";

QString PanelOne(TestApp& t)
{
    return t.main().statusPanels()->panelText(1);
}

// The error number in NumberText form, so two blanks after "#".
void ExpectUnexpectedError(TestApp& t, int errorNumber)
{
    ASSERT_FALSE(t.services().messages.shown.empty());
    ExpectErrorMessage(t.services().messages.shown.back(),
                       QStringLiteral("Error #  %1 was generated. \r").arg(errorNumber));
}

} // namespace

TEST(DataFiles, TheFilterChoosesTheLayoutAndSaveKeepsIt)
{
    TestApp t;
    QTemporaryDir folder;
    AddPoints({{1.5, -2}});

    // Comma layout into a .txt file: the filter decides, not the extension.
    const QString commaPath = folder.filePath(QStringLiteral("comma.txt"));
    t.services().files.choose(commaPath, 3);
    t.run(QStringLiteral("mnuDataSaveAs"));
    ASSERT_EQ(t.services().files.requests.size(), 1u);
    const FileDialogRequest& request = t.services().files.requests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.filter, Filter);
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.defaultExtension, QStringLiteral(".dat"));
    EXPECT_TRUE(request.fileName.isEmpty());
    EXPECT_EQ(FileBytes(commaPath), CommaFile);
    EXPECT_EQ(appState().DataFileName, commaPath);
    EXPECT_EQ(PanelOne(t), commaPath);

    // Save writes the same layout again, without a dialog.
    AddPoints({{3, 4}});
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(t.services().files.requests.size(), 1u);
    EXPECT_EQ(FileBytes(commaPath), CommaFile + "\" 2\",\" 3\",\" 4\"\r\n");
    DataForm().grid().removeDataRows(2, 1);

    const std::pair<int, QByteArray> layouts[] = {{1, CommaFile}, {2, SpaceFile}, {4, TabFile}};
    for (const auto& [index, bytes] : layouts) {
        const QString path = folder.filePath(QStringLiteral("layout%1").arg(index));
        t.services().files.choose(path, index);
        t.run(QStringLiteral("mnuDataSaveAs"));
        EXPECT_EQ(FileBytes(path), bytes) << index;
    }

    // An empty table is its header line; a typed non-ASCII text goes out as UTF-8.
    DataForm().grid().removeDataRows(1, 1);
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(FileBytes(folder.filePath(QStringLiteral("layout4"))), QByteArray("\t= Point =\t= X Axis =\t= Y Axis =\r\n"));
    AddPoints({{1, 2}});
    DataForm().grid().setCell(1, 1, QStringLiteral("µ²"));
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_TRUE(FileBytes(folder.filePath(QStringLiteral("layout4"))).endsWith("\t 1\t\xC2\xB5\xC2\xB2\t 2\r\n"));
    t.services().expectScriptsUsed();
}

TEST(DataFiles, DeclinedOverwriteAndCancelledDialogsWriteNothing)
{
    TestApp t;
    QTemporaryDir folder;
    AddPoints({{1.5, -2}});
    const QString path = folder.filePath(QStringLiteral("old.dat"));
    WriteBytes(path, "earlier\r\n");
    auto& files = t.services().files;
    auto& shown = t.services().messages.shown;

    files.choose(path, 4);
    t.services().messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("mnuDataSaveAs"));
    ASSERT_EQ(shown.size(), 1u);
    ExpectMessage(shown[0], path + QStringLiteral(" exists. Do you want to overwrite it?"), QStringLiteral("File Exists"),
                  MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(FileBytes(path), QByteArray("earlier\r\n"));
    EXPECT_TRUE(appState().DataFileName.isEmpty());
    EXPECT_EQ(PanelOne(t), QStringLiteral("Data File"));

    // Each later Save asks for a name again; cancelled, nothing is written.
    files.cancel();
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(files.requests.size(), 2u);
    files.cancel();
    t.run(QStringLiteral("mnuDataAppendTo"));
    files.cancel();
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(files.requests.size(), 4u);
    EXPECT_EQ(FileBytes(path), QByteArray("earlier\r\n"));
    EXPECT_TRUE(appState().DataFileName.isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"old.dat"}));

    // Yes replaces it.
    files.choose(path, 4);
    t.services().messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(FileBytes(path), TabFile);
    t.services().expectScriptsUsed();
}

TEST(DataFiles, AppendToExtendsTheFileAndMakesItTheDataFile)
{
    TestApp t;
    QTemporaryDir folder;
    AddPoints({{1.5, -2}});
    const QString first = folder.filePath(QStringLiteral("first.csv"));
    const QString appended = folder.filePath(QStringLiteral("log.dat"));
    auto& files = t.services().files;

    files.choose(first, 3);
    t.run(QStringLiteral("mnuDataSaveAs"));
    // Append to shows the name the shared dialog holds; a missing file is made.
    files.choose(appended, 4);
    t.run(QStringLiteral("mnuDataAppendTo"));
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[1].fileName, first);
    EXPECT_EQ(files.requests[1].filterIndex, 2);
    EXPECT_EQ(FileBytes(appended), TabFile);
    EXPECT_EQ(PanelOne(t), appended);

    files.choose(appended, 4);
    t.run(QStringLiteral("mnuDataAppendTo"));
    EXPECT_EQ(files.requests[2].fileName, appended);
    EXPECT_EQ(FileBytes(appended), TabFile + TabFile);

    // The appended file is now the data file: Save rewrites it with the grid alone.
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(files.requests.size(), 3u);
    EXPECT_EQ(FileBytes(appended), TabFile);
    EXPECT_TRUE(t.services().messages.shown.empty());

    // Save As starts with an empty name.
    files.cancel();
    t.run(QStringLiteral("mnuDataSaveAs"));
    EXPECT_TRUE(files.requests[3].fileName.isEmpty());
    EXPECT_TRUE(SharedDialogFileName().isEmpty());
}

TEST(DataFiles, FailedWritesShowTheUnexpectedErrorAndLoseNothing)
{
    TestApp t;
    QTemporaryDir folder;
    AddPoints({{1.5, -2}, {3, 4}});
    auto& files = t.services().files;
    auto& messages = t.services().messages;

    // A read-only disk (when one can be mounted); a disk too full for the
    // table is DataFileWriting's.
    SmallFileSystem small;
    const QString readOnly = small.filePath(QStringLiteral("points.txt"));
    if (small.mounted()) {
        WriteBytes(readOnly, "earlier\r\n");
        ASSERT_TRUE(small.makeReadOnly());
    }
    const struct {
        QString path;
        bool exists; // the overwrite question comes first
        const char* command;
        int error;
    } cases[] = {{folder.path(), true, "mnuDataSaveAs", EISDIR},
                 {folder.filePath(QStringLiteral("gone/points.dat")), false, "mnuDataSaveAs", ENOENT},
                 {QStringLiteral("/dev/full"), false, "mnuDataAppendTo", ENOSPC},
                 {readOnly, true, "mnuDataSaveAs", EROFS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        if (c.error == EROFS && !small.mounted())
            continue;
        files.choose(c.path, 2);
        if (c.exists)
            messages.answer(MessageAnswer::Yes);
        messages.answer(MessageAnswer::Ok);
        t.run(QString::fromLatin1(c.command));
        ExpectUnexpectedError(t, c.error);
        EXPECT_EQ(PanelOne(t), QStringLiteral("Data File"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(DataColumn(1), QStringList({" 1.5", " 3"}));
    }
    if (small.mounted()) {
        EXPECT_EQ(FileBytes(readOnly), QByteArray("earlier\r\n"));
    }
    t.services().expectScriptsUsed();
}

TEST(DataCopy, TheSelectedBlockGoesToTheClipboardAsText)
{
    TestApp t;
    AddPoints({{1.5, -2}, {2, 3}, {0.25, 4}});
    DataForm().selectRows(2, 3);
    t.run(QStringLiteral("mnuDataCopy"));
    EXPECT_EQ(t.services().clipboard.storedText, QStringLiteral(" 2\t 2\t 3\r 3\t .25\t 4"));
    // Without a block, the current cell alone.
    ASSERT_TRUE(DataForm().setCurrentCell(1, 2));
    t.run(QStringLiteral("mnuPopUpCopy"));
    EXPECT_EQ(t.services().clipboard.storedText, QStringLiteral("-2"));

    // Through the X server's clipboard.
    t.services().clipboard.real = true;
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    DataForm().selectRows(0, 1);
    t.run(QStringLiteral("mnuDataCopy"));
    TestApp::settle();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("= Point =\t= X Axis =\t= Y Axis =\r 1\t 1.5\t-2"));
}
