#include "data/DataFileWriting.h"

#include "QStringPrinting.h"
#include "data/DataFileFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tracella;

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

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

void ExpectError(const std::optional<AppError>& error, std::initializer_list<int> numbers, const QString& named)
{
    ASSERT_TRUE(error) << "reported success";
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), error->number), numbers.end()) << error->number;
    EXPECT_TRUE(error->description.contains(named)) << error->description.toStdString();
    EXPECT_TRUE(error->description.contains(QString::fromLocal8Bit(std::strerror(static_cast<int>(error->number)))))
        << error->description.toStdString();
}

// A file the program may not write: without write permission, or for the
// superuser (who ignores permissions) marked immutable.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(QFile::encodeName(path))
    {
        ::chmod(m_path.constData(), 0444);
        m_readOnly = ::access(m_path.constData(), W_OK) != 0 || setImmutable(true);
    }
    ~ReadOnlyFile()
    {
        if (::geteuid() == 0) {
            setImmutable(false);
        }
    }
    bool readOnly() const { return m_readOnly; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return done;
    }

    QByteArray m_path;
    bool m_readOnly = false;
};

// A 64 KiB file system over a folder, for as long as the object lives.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString& folder) : m_folder(QFile::encodeName(folder))
    {
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted) {
            ::umount(m_folder.constData());
        }
    }
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

GridRows OnePoint()
{
    GridRows rows;
    EXPECT_FALSE(rows.appendRow(AppendPointRowTexts(1, {1.5, true}, {-2, true})));
    return rows;
}

} // namespace

TEST(WriteDataFile, ReplacesTheWholeFileKeepingItsPermissions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("points.txt");
    Put(path, QByteArray(5000, 'o'));
    ::chmod(QFile::encodeName(path).constData(), 0640);

    const QByteArray bytes = DataFileBytes(OnePoint(), DataFileLayout::Space);
    EXPECT_FALSE(WriteDataFile(path, bytes));
    EXPECT_EQ(Contents(path), bytes);
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"points.txt"});

    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString fresh = folder.filePath("fresh.csv");
    EXPECT_FALSE(WriteDataFile(fresh, bytes));
    EXPECT_EQ(Contents(fresh), bytes);
    EXPECT_EQ(ModeOf(fresh), 0666u & ~mask);

    // Through a link the linked file is replaced and the link stays.
    const QString link = folder.filePath("link.txt");
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(WriteDataFile(link, "linked\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Contents(path), "linked\r\n");
}

TEST(AppendDataFile, AddsAWholeTableAfterTheLastLine)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("points.dat");
    const QByteArray table = DataFileBytes(OnePoint(), DataFileLayout::Tab);
    EXPECT_FALSE(AppendDataFile(path, table));
    EXPECT_FALSE(AppendDataFile(path, table));
    EXPECT_EQ(Contents(path), "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n"
                              "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n");
}

TEST(DataFileWriting, FolderNamesAndMissingFoldersAreRefused)
{
    QTemporaryDir folder;
    const QString sub = folder.filePath("sub");
    ASSERT_TRUE(QDir().mkdir(sub));
    ExpectError(WriteDataFile(sub, "x"), {EISDIR}, sub);
    ExpectError(AppendDataFile(sub, "x"), {EISDIR}, sub);

    const QString missing = folder.filePath("missing/points.txt");
    ExpectError(WriteDataFile(missing, "x"), {ENOENT}, folder.filePath("missing"));
    ExpectError(AppendDataFile(missing, "x"), {ENOENT}, missing);
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"sub"});
}

TEST(DataFileWriting, AReadOnlyFileIsLeftAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("locked.txt");
    Put(path, "earlier\r\n");
    const ReadOnlyFile locked(path);
    if (!locked.readOnly()) {
        GTEST_SKIP() << "cannot make a file read-only here";
    }
    ExpectError(WriteDataFile(path, "new\r\n"), {EACCES, EPERM}, path);
    ExpectError(AppendDataFile(path, "new\r\n"), {EACCES, EPERM}, path);
    EXPECT_EQ(Contents(path), "earlier\r\n");
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"locked.txt"});
}

TEST(DataFileWriting, AFullDiskIsReported)
{
    ExpectError(AppendDataFile("/dev/full", "\t 1\t 1.5\t-2\r\n"), {ENOSPC}, "/dev/full");
    // Saving onto a device writes into it and never replaces the device node.
    ExpectError(WriteDataFile("/dev/full", "\t 1\t 1.5\t-2\r\n"), {ENOSPC}, "/dev/full");
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());

    QTemporaryDir folder;
    const SmallFileSystem small(folder.path());
    if (!small.mounted()) {
        GTEST_SKIP() << "cannot mount a small file system to fill: " << std::strerror(errno);
    }
    const QString path = folder.filePath("points.txt");
    Put(path, "earlier\r\n");
    ExpectError(WriteDataFile(path, QByteArray(256 * 1024, 'x')), {ENOSPC}, path);
    EXPECT_EQ(Contents(path), "earlier\r\n");
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"points.txt"});
}

TEST(FileExists, FindsFilesAndFoldersAndMatchesWildcards)
{
    QTemporaryDir folder;
    Put(folder.filePath("points.txt"), "x");
    Put(folder.filePath("a[1].csv"), "x");
    ASSERT_TRUE(QDir().mkdir(folder.filePath("pictures")));

    EXPECT_TRUE(FileExists(folder.filePath("points.txt")));
    EXPECT_TRUE(FileExists(folder.filePath("pictures")));
    EXPECT_TRUE(FileExists(folder.filePath("a[1].csv")));
    EXPECT_FALSE(FileExists(folder.filePath("points.dat")));
    EXPECT_FALSE(FileExists(folder.filePath("nowhere/points.txt")));
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(FileExists(folder.filePath("*.txt")));
    EXPECT_TRUE(FileExists(folder.filePath("p?ints.*")));
    EXPECT_TRUE(FileExists(folder.filePath("pic*")));
    EXPECT_TRUE(FileExists(folder.filePath("a[?].csv")));
    EXPECT_FALSE(FileExists(folder.filePath("*.dat")));
    EXPECT_FALSE(FileExists(folder.filePath("?.txt")));
    EXPECT_FALSE(FileExists(folder.filePath("a[1]?.csv")));
}
