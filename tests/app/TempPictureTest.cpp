#include "app/core/TempPicture.h"

#include "support/Expect.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

using namespace tracella;

using test::FileBytes;
using test::WriteBytes;

// Each object stands for one running process; the system's lock tells them
// apart exactly as it tells processes apart.
TEST(TempPicture, TwoInstancesNeverShareOrDeleteEachOthersFile)
{
    QTemporaryDir dir;
    TempPictureFolder a(dir.path(), 101);
    TempPictureFolder b(dir.path(), 202);
    ASSERT_NE(a.path(), b.path());

    WriteBytes(a.path(), "picture before A's rotation");
    WriteBytes(b.path(), "picture before B's rotation");
    EXPECT_EQ(FileBytes(a.path()), "picture before A's rotation") << "B's rotation leaves A's undo picture alone";

    b.release(); // B exits
    const QString bPicture = QDir(dir.path()).filePath("Tracella_TempFile.202");
    EXPECT_FALSE(QFile::exists(bPicture));
    EXPECT_FALSE(QFile::exists(bPicture + ".lock"));
    EXPECT_EQ(FileBytes(a.path()), "picture before A's rotation") << "A's Undo Rotate still finds its picture";
    EXPECT_EQ(a.removeStale(), 0) << "B removed its own file on exit; A's is alive";
}

TEST(TempPicture, StartUpRemovesOnlyTheFilesOfProcessesThatEnded)
{
    QTemporaryDir dir;
    TempPictureFolder running(dir.path(), 101);
    WriteBytes(running.path(), "live");
    auto killed = std::make_unique<TempPictureFolder>(dir.path(), 202);
    const QString killedPicture = killed->path();
    WriteBytes(killedPicture, "left behind");
    killed.reset(); // kill -9: no release, the system drops the lock
    // A file of another program and an older file of the same name are not ours to judge.
    WriteBytes(QDir(dir.path()).filePath("Tracella_TempFile"), "older version");
    WriteBytes(QDir(dir.path()).filePath("notes.txt"), "someone else's");

    TempPictureFolder starting(dir.path(), 303);
    EXPECT_EQ(starting.removeStale(), 1);
    EXPECT_FALSE(QFile::exists(killedPicture));
    EXPECT_FALSE(QFile::exists(killedPicture + ".lock"));
    EXPECT_EQ(FileBytes(running.path()), "live");
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("notes.txt")));
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("Tracella_TempFile")));

    // The ended process's id, handed to a new process, is a new claim.
    TempPictureFolder reused(dir.path(), 202);
    WriteBytes(reused.path(), "new");
    EXPECT_EQ(starting.removeStale(), 0);
    EXPECT_EQ(FileBytes(reused.path()), "new");
}
