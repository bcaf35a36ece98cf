#include "DataGuiSupport.h"

#include "app/services/SharedDialog.h"


using namespace tracella;
using namespace tracella::test;

namespace {

const QByteArray CommaFile = "\"= Point =\",\"= X Axis =\",\"= Y Axis =\"\r\n\" 1\",\" 1.5\",\"-2\"\r\n";
const QByteArray TabFile = "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n";

QString PanelOne(TestApp& t)
{
    return t.main().statusPanels()->panelText(1);
}

} // namespace

// The filter decides the layout, not the extension; Save writes it again without a dialog.
TEST(DataFiles, SaveAsTakesTheFiltersLayoutAndSaveKeepsIt)
{
    TestApp t;
    QTemporaryDir folder;
    AddPoints({{1.5, -2}});
    const QString commaPath = folder.filePath(QStringLiteral("comma.txt"));
    t.services().files.choose(commaPath, 3);
    t.run(QStringLiteral("mnuDataSaveAs"));
    ASSERT_EQ(t.services().files.requests.size(), 1u);
    const FileDialogRequest& request = t.services().files.requests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("All Files (*.*)|*.*|Space Delimited (*.txt)|*.txt|"
                                             "Comma Delimited (*.csv)|*.csv|Tab Delimited (*.dat)|*.dat"));
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.defaultExtension, QStringLiteral(".dat"));
    EXPECT_EQ(FileBytes(commaPath), CommaFile);
    EXPECT_EQ(PanelOne(t), commaPath);

    AddPoints({{3, 4}});
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(t.services().files.requests.size(), 1u);
    EXPECT_EQ(FileBytes(commaPath), CommaFile + "\" 2\",\" 3\",\" 4\"\r\n");
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
    for (int round = 1; round <= 2; ++round) {
        files.choose(appended, 4);
        t.run(QStringLiteral("mnuDataAppendTo"));
        EXPECT_EQ(files.requests.back().fileName, round == 1 ? first : appended);
    }
    EXPECT_EQ(FileBytes(appended), TabFile + TabFile);
    EXPECT_EQ(PanelOne(t), appended);

    // Save rewrites the appended file with the grid alone; Save As starts with an empty name.
    t.run(QStringLiteral("mnuDataSave"));
    EXPECT_EQ(FileBytes(appended), TabFile);
    files.cancel();
    t.run(QStringLiteral("mnuDataSaveAs"));
    EXPECT_TRUE(files.requests.back().fileName.isEmpty());
    EXPECT_TRUE(SharedDialogFileName().isEmpty());
    EXPECT_TRUE(t.services().messages.shown.empty());
}
