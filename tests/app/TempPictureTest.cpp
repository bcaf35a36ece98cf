#include "app/core/TempPicture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

using namespace tracella;

namespace {

void writePicture(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readPicture(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Each object stands for one running process; the system's lock tells them
// apart exactly as it tells processes apart.
TEST(TempPicture, TwoInstancesNeverShareOrDeleteEachOthersFile)
{
    QTemporaryDir dir;
    TempPictureFolder a(dir.path(), 101);
    TempPictureFolder b(dir.path(), 202);
    ASSERT_NE(a.path(), b.path());

    writePicture(a.path(), "picture before A's rotation");
    writePicture(b.path(), "picture before B's rotation");
    EXPECT_EQ(readPicture(a.path()), "picture before A's rotation") << "B's rotation leaves A's undo picture alone";

    b.release(); // B exits
    const QString bPicture = QDir(dir.path()).filePath("Tracella_TempFile.202");
    EXPECT_FALSE(QFile::exists(bPicture));
    EXPECT_FALSE(QFile::exists(bPicture + ".lock"));
    EXPECT_EQ(readPicture(a.path()), "picture before A's rotation") << "A's Undo Rotate still finds its picture";
    EXPECT_EQ(a.removeStale(), 0) << "B removed its own file on exit; A's is alive";
}

TEST(TempPicture, StartUpRemovesOnlyTheFilesOfProcessesThatEnded)
{
    QTemporaryDir dir;
    TempPictureFolder running(dir.path(), 101);
    writePicture(running.path(), "live");
    auto killed = std::make_unique<TempPictureFolder>(dir.path(), 202);
    const QString killedPicture = killed->path();
    writePicture(killedPicture, "left behind");
    killed.reset(); // kill -9: no release, the system drops the lock
    // A file of another program and an older file of the same name are not ours to judge.
    writePicture(QDir(dir.path()).filePath("Tracella_TempFile"), "older version");
    writePicture(QDir(dir.path()).filePath("notes.txt"), "someone else's");

    TempPictureFolder starting(dir.path(), 303);
    EXPECT_EQ(starting.removeStale(), 1);
    EXPECT_FALSE(QFile::exists(killedPicture));
    EXPECT_FALSE(QFile::exists(killedPicture + ".lock"));
    EXPECT_EQ(readPicture(running.path()), "live");
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("notes.txt")));
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("Tracella_TempFile")));

    // The ended process's id, handed to a new process, is a new claim.
    TempPictureFolder reused(dir.path(), 202);
    writePicture(reused.path(), "new");
    EXPECT_EQ(starting.removeStale(), 0);
    EXPECT_EQ(readPicture(reused.path()), "new");
}
