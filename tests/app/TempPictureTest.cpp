#include "app/core/TempPicture.h"

#include "support/Expect.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
