#include "data/ProjectRecovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tracella;

namespace {

Project Snapshot(int tag)
{
    Project p;
    p.picture.bytes = QByteArray("picture ") + QByteArray::number(tag);
    p.state.applySettingsDefaults();
    p.curves.push_back({QStringLiteral("Curve 1"), std::nullopt, QString(), DataFileLayout::Space,
                        {{QStringLiteral(" 1"), QString::number(tag), QStringLiteral(" 2")}}});
    p.zoom = tag;
    return p;
}

// The zoom of the snapshot the file holds; -1 when it holds none.
double TagOf(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    auto decoded = DecodeProject(f.readAll());
    return std::holds_alternative<Project>(decoded) ? std::get<Project>(decoded).zoom : -1;
}

// Every test keeps its state folder to itself.
class ProjectRecovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_state.isValid());
        ::setenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()).constData(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    QStringList entries() const { return QDir(RecoveryFolder()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_state;
};

// A process of its own that writes a snapshot and then waits to be killed.
struct Child {
    pid_t pid = -1;
    QString file;
};

Child StartChild(int tag)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        RecoveryWriter writer;
        writer.submit(Snapshot(tag));
        const QByteArray name = QFile::encodeName(writer.waitIdle(10000) ? writer.fileName() : QString());
        if (::write(ready[1], name.constData(), static_cast<size_t>(name.size())) < 0)
            ::_exit(1);
        ::close(ready[1]);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char name[4096] = {};
    const ssize_t got = pid > 0 ? ::read(ready[0], name, sizeof name - 1) : -1;
    ::close(ready[0]);
    return {pid, got > 0 ? QFile::decodeName(QByteArray(name, static_cast<qsizetype>(got))) : QString()};
}

void Kill(const Child& child)
{
    ::kill(child.pid, SIGKILL);
    ::waitpid(child.pid, nullptr, 0);
}

} // namespace

// Of many snapshots sent at once the last is the one on disk, in a private
// folder, and the live writer's file is no orphan; discard leaves nothing.
TEST_F(ProjectRecovery, WritesTheLatestSnapshotUntilDiscarded)
{
    for (int submits : {1, 200}) {
        SCOPED_TRACE(submits);
        RecoveryWriter writer;
        for (int tag = 1; tag <= submits; ++tag)
            writer.submit(Snapshot(tag));
        ASSERT_TRUE(writer.waitIdle(10000));
        EXPECT_FALSE(writer.lastError());
        EXPECT_EQ(TagOf(writer.fileName()), submits);
        struct stat folder {};
        ASSERT_EQ(::stat(QFile::encodeName(RecoveryFolder()).constData(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        EXPECT_TRUE(OrphanRecoveries().empty());
        RemoveRecovery(writer.fileName());
        EXPECT_TRUE(QFileInfo::exists(writer.fileName())) << "removed under a live writer";
        writer.discard();
        EXPECT_EQ(entries(), QStringList());
    }
}

// Two processes write their own files; only a killed one's file is offered,
// and it holds what that process sent last.
TEST_F(ProjectRecovery, KilledProcessLeavesItsFileToRecover)
{
    const Child killed = StartChild(7), living = StartChild(8);
    ASSERT_FALSE(killed.file.isEmpty());
    ASSERT_FALSE(living.file.isEmpty());
    EXPECT_NE(killed.file, living.file);
    EXPECT_TRUE(OrphanRecoveries().empty());

    Kill(killed);
    const std::vector<QString> orphans = OrphanRecoveries();
    Kill(living);
    ASSERT_EQ(orphans, std::vector<QString>{killed.file});
    EXPECT_EQ(TagOf(orphans.front()), 7);

    const QFileInfo info(killed.file);
    QFile cutShort(info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".x1")));
    ASSERT_TRUE(cutShort.open(QIODevice::WriteOnly));
    RemoveRecovery(killed.file);
    EXPECT_FALSE(cutShort.exists());
    EXPECT_EQ(OrphanRecoveries(), std::vector<QString>{living.file});
}

TEST(RecoveryFolder, FollowsAnAbsoluteStateHome)
{
    const QString home = QDir::homePath() + QStringLiteral("/.local/state/tracella/recovery");
    const struct {
        const char* value; // nullptr: unset
        QString folder;
    } cases[] = {
        {"/var/tmp/st", QStringLiteral("/var/tmp/st/tracella/recovery")},
        {"st", home},
        {"", home},
        {nullptr, home},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "unset");
        c.value ? ::setenv("XDG_STATE_HOME", c.value, 1) : ::unsetenv("XDG_STATE_HOME");
        EXPECT_EQ(RecoveryFolder(), c.folder);
    }
    ::unsetenv("XDG_STATE_HOME");
}

TEST_F(ProjectRecovery, FailedWriteIsRemembered)
{
    ASSERT_TRUE(QDir(m_state.path()).mkpath(QStringLiteral("tracella")));
    QFile blocker(m_state.filePath(QStringLiteral("tracella/recovery")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
    RecoveryWriter writer;
    writer.submit(Snapshot(1));
    ASSERT_TRUE(writer.waitIdle(10000));
    ASSERT_TRUE(writer.lastError());
    EXPECT_TRUE(writer.lastError()->contains(RecoveryFolder())) << writer.lastError()->toStdString();
}
