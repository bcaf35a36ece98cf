#include "data/DataFileWriting.h"

#include "support/Expect.h"
#include "support/SmallFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <future>
#include <grp.h>
#include <thread>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tracella;
using namespace tracella::test;

namespace {

struct stat StatOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info;
}

mode_t ModeOf(const QString& path)
{
    return StatOf(path).st_mode & 07777;
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

// Saving and appending are refused alike.
void ExpectBothRefused(const QString& path, const QByteArray& bytes, std::initializer_list<int> numbers)
{
    ExpectError(WriteDataFile(path, bytes), numbers, path);
    ExpectError(AppendDataFile(path, bytes), numbers, path);
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

constexpr uid_t Nobody = 65534;

// Runs the check in a child process as an ordinary user (nobody when the
// test runs as the superuser, who may write anywhere); true when it held.
bool AsOrdinaryUser(const std::function<bool()>& check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::geteuid() != 0 ||
                             (::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0);
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs the write on a thread; a write that waits for a reader is released
// by opening the pipe for reading after a while, and reported as blocked.
std::optional<AppError> WithoutBlocking(const QString& fifo, std::function<std::optional<AppError>()> write,
                                        bool& blocked)
{
    auto pending = std::async(std::launch::async, std::move(write));
    blocked = pending.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
    if (blocked) {
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        char sink[4096];
        while (pending.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            [[maybe_unused]] const ssize_t drained = ::read(reader, sink, sizeof sink);
        }
        ::close(reader);
    }
    return pending.get();
}

// A table as the tab layout writes it.
const QByteArray Table = "\t= Point =\t= X Axis =\t= Y Axis =\r\n\t 1\t 1.5\t-2\r\n";

} // namespace

TEST(WriteDataFile, ReplacesTheWholeFileKeepingItsPermissions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("points.txt");
    WriteBytes(path, QByteArray(5000, 'o'));
    ::chmod(QFile::encodeName(path).constData(), 0640);

    EXPECT_FALSE(WriteDataFile(path, Table));
    EXPECT_EQ(FileBytes(path), Table);
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"points.txt"});

    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString fresh = folder.filePath("fresh.csv");
    EXPECT_FALSE(WriteDataFile(fresh, Table));
    EXPECT_EQ(FileBytes(fresh), Table);
    EXPECT_EQ(ModeOf(fresh), 0666u & ~mask);

    // Through a link the linked file is replaced and the link stays.
    const QString link = folder.filePath("link.txt");
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(WriteDataFile(link, "linked\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(path), "linked\r\n");
}

TEST(AppendDataFile, AddsAWholeTableAfterTheLastLine)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("points.dat");
    EXPECT_FALSE(AppendDataFile(path, Table));
    EXPECT_FALSE(AppendDataFile(path, Table));
    EXPECT_EQ(FileBytes(path), Table + Table);
}

TEST(DataFileWriting, FolderNamesAndMissingFoldersAreRefused)
{
    QTemporaryDir folder;
    const QString sub = folder.filePath("sub");
    ASSERT_TRUE(QDir().mkdir(sub));
    ExpectBothRefused(sub, "x", {EISDIR});

    const QString missing = folder.filePath("missing/points.txt");
    ExpectBothRefused(missing, "x", {ENOENT});
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"sub"});
}

TEST(DataFileWriting, AReadOnlyFileIsLeftAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("locked.txt");
    WriteBytes(path, "earlier\r\n");
    const ReadOnlyFile locked(path);
    if (!locked.readOnly()) {
        GTEST_SKIP() << "cannot make a file read-only here";
    }
    ExpectBothRefused(path, "new\r\n", {EACCES, EPERM});
    EXPECT_EQ(FileBytes(path), "earlier\r\n");
    EXPECT_EQ(EntriesOf(folder.path()), QStringList{"locked.txt"});
}

TEST(DataFileWriting, AFullDiskIsReported)
{
    // Saving onto a device writes into it and never replaces the device node.
    ExpectBothRefused("/dev/full", "\t 1\t 1.5\t-2\r\n", {ENOSPC});
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());

    const SmallFileSystem small;
    if (!small.mounted()) {
        GTEST_SKIP() << "cannot mount a small file system to fill: " << std::strerror(errno);
    }
    const QString path = small.filePath("points.txt");
    WriteBytes(path, "earlier\r\n");
    ExpectError(WriteDataFile(path, QByteArray(256 * 1024, 'x')), {ENOSPC}, path);
    EXPECT_EQ(FileBytes(path), "earlier\r\n");
    EXPECT_EQ(EntriesOf(small.path()), QStringList{"points.txt"});
}

TEST(FileExists, FindsFilesAndFoldersAndMatchesWildcards)
{
    QTemporaryDir folder;
    WriteBytes(folder.filePath("points.txt"), "x");
    WriteBytes(folder.filePath("a[1].csv"), "x");
    ASSERT_TRUE(QDir().mkdir(folder.filePath("pictures")));

    const std::pair<const char*, bool> names[] = {
        {"points.txt", true}, {"pictures", true},     {"a[1].csv", true},  {"points.dat", false},
        {"nowhere/points.txt", false}, {"*.txt", true}, {"p?ints.*", true}, {"pic*", true},
        {"a[?].csv", true},   {"*.dat", false},       {"?.txt", false},    {"a[1]?.csv", false}};
    for (const auto& [name, exists] : names)
        EXPECT_EQ(FileExists(folder.filePath(name)), exists) << name;
    EXPECT_FALSE(FileExists(""));
}

TEST(DataFileWriting, APipeIsWrittenOnlyWhileSomethingReadsIt)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);

    // Nobody reading: refused at once, in words that say so.
    for (const auto write : {WriteDataFile, AppendDataFile}) {
        bool blocked = false;
        const std::optional<AppError> error = WithoutBlocking(fifo, [&] { return write(fifo, Table); }, blocked);
        EXPECT_FALSE(blocked) << "the write waited for a reader";
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->description.contains(fifo)) << error->description.toStdString();
        EXPECT_TRUE(error->description.contains(QStringLiteral("Nothing is reading"))) << error->description.toStdString();
    }

    // A reader that takes everything gets the whole table, more than the pipe holds.
    const QByteArray large(300 * 1024, 'x');
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    auto received = std::async(std::launch::async, [reader, &large] {
        QByteArray got;
        char chunk[8192];
        while (got.size() < large.size()) {
            const ssize_t n = ::read(reader, chunk, sizeof chunk);
            if (n > 0)
                got.append(chunk, n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return got;
    });
    EXPECT_FALSE(WriteDataFile(fifo, large));
    ASSERT_EQ(received.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(received.get(), large);

    // A reader that stops taking data ends the write after a short wait.
    bool blocked = false;
    const std::optional<AppError> stalled = WithoutBlocking(fifo, [&] { return AppendDataFile(fifo, large); }, blocked);
    ::close(reader);
    EXPECT_FALSE(blocked);
    ASSERT_TRUE(stalled);
    EXPECT_TRUE(stalled->description.contains(fifo)) << stalled->description.toStdString();
}

TEST(DataFileWriting, WritesInPlaceWhereTheFileCannotBeReplaced)
{
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);

    // Another name of the file sees the new table too.
    const QString path = folder.filePath("points.dat");
    const QString other = folder.filePath("other name.dat");
    WriteBytes(path, "earlier\r\n");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    EXPECT_FALSE(WriteDataFile(path, Table));
    EXPECT_EQ(FileBytes(other), Table);
    EXPECT_EQ(StatOf(path).st_ino, StatOf(other).st_ino);
    QFile::remove(other);

    // A writable file of the user's own in a folder where no file can be made.
    const QString shared = folder.filePath("shared");
    ASSERT_TRUE(QDir().mkdir(shared));
    const QString mine = shared + QStringLiteral("/mine.dat");
    WriteBytes(mine, "earlier\r\n");
    ::chmod(QFile::encodeName(mine).constData(), 0666);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(mine).constData(), Nobody, Nobody), 0);
    }
    ::chmod(QFile::encodeName(shared).constData(), 0555);
    EXPECT_TRUE(AsOrdinaryUser([&] { return !WriteDataFile(mine, Table); }));
    EXPECT_EQ(FileBytes(mine), Table);
    // A new file cannot be made there; the message names it, not the folder.
    const QString fresh = shared + QStringLiteral("/fresh.dat");
    EXPECT_TRUE(AsOrdinaryUser([&] {
        const std::optional<AppError> error = WriteDataFile(fresh, Table);
        return error && error->number == EACCES && error->description.endsWith(QStringLiteral(": ") + fresh);
    }));
    ::chmod(QFile::encodeName(shared).constData(), 0755);

    // Someone else's file, open to all, stays theirs.
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can hand a file to another user";
    const QString theirs = folder.filePath("theirs.dat");
    WriteBytes(theirs, "earlier\r\n");
    ::chmod(QFile::encodeName(theirs).constData(), 0666);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0777);
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 1, 1), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return !WriteDataFile(theirs, Table); }));
    EXPECT_EQ(FileBytes(theirs), Table);
    EXPECT_EQ(StatOf(theirs).st_uid, 1u);
    EXPECT_EQ(EntriesOf(folder.path()), QStringList({"points.dat", "shared", "theirs.dat"}));
}
