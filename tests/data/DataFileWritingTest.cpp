#include "data/DataFileWriting.h"

#include "support/Expect.h"
#include "support/SmallFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace tracella;
using namespace tracella::test;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 07777;
}

QStringList EntriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A table as the tab layout writes it.
const QByteArray Table = "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n";

} // namespace

TEST(WriteDataFile, ReplacesTheWholeFileKeepingItsPermissionsAndLinks)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("points.txt");
    WriteBytes(path, QByteArray(5000, 'o'));
    ::chmod(QFile::encodeName(path).constData(), 0640);
    EXPECT_FALSE(WriteDataFile(path, Table));
    EXPECT_EQ(FileBytes(path), Table);
    EXPECT_EQ(ModeOf(path), 0640u);

    const QString link = folder.filePath("link.txt");
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(WriteDataFile(link, "linked\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(path), "linked\r\n");

    const QString appended = folder.filePath("points.dat");
    EXPECT_FALSE(AppendDataFile(appended, Table));
    EXPECT_FALSE(AppendDataFile(appended, Table));
    EXPECT_EQ(FileBytes(appended), Table + Table);
    EXPECT_EQ(EntriesOf(folder.path()), (QStringList{"link.txt", "points.dat", "points.txt"}));
}

// Saving and appending are refused alike, naming the file and the system's reason,
// and leave what was there.
TEST(DataFileWriting, RefusalsNameTheFileAndTheReason)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir().mkdir(folder.filePath("sub")));
    SmallFileSystem small;
    const QString onReadOnly = small.filePath("points.txt");
    if (small.mounted()) {
        WriteBytes(onReadOnly, "earlier\r\n");
        ASSERT_TRUE(small.makeReadOnly());
    }
    const struct {
        QString path;
        int error;
    } cases[] = {{folder.filePath("sub"), EISDIR},
                 {folder.filePath("missing/points.txt"), ENOENT},
                 {QStringLiteral("/dev/full"), ENOSPC},
                 {onReadOnly, EROFS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        if (c.error == EROFS && !small.mounted())
            continue; // mounting needs the superuser
        for (const auto write : {WriteDataFile, AppendDataFile}) {
            const std::optional<AppError> error = write(c.path, Table);
            ASSERT_TRUE(error) << "reported success";
            EXPECT_EQ(error->number, c.error);
            EXPECT_TRUE(error->description.contains(c.path)) << error->description.toStdString();
            EXPECT_TRUE(error->description.contains(QString::fromLocal8Bit(std::strerror(c.error))));
        }
    }
    EXPECT_FALSE(QFileInfo("/dev/full").isFile()) << "the device node was replaced";
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"sub"});
    if (small.mounted()) {
        EXPECT_EQ(FileBytes(onReadOnly), "earlier\r\n");
    }
}
