#include "data/ProjectStorage.h"

#include "data/RowsCbor.h"

#include "support/Expect.h"
#include "support/SmallFileSystem.h"

#include <QCborStreamWriter>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace tracella;
using namespace tracella::test;

namespace {

Project Sample(const QByteArray& picture = QByteArray("\x89PNG\r\n", 6))
{
    Project p;
    p.picture = {PictureSource::File, QStringLiteral("/plots/a.png"), picture, 0, 0};
    p.state.applySettingsDefaults();
    p.state.RefPx2 = 640.5;
    p.curves.push_back({QStringLiteral("Curve 1"),
                        Rgb(200, 10, 10),
                        QStringLiteral("/data/a.txt"),
                        DataFileLayout::Tab,
                        {{QStringLiteral(" 1"), QStringLiteral(" 0.5"), QStringLiteral(" 2.25")}}});
    return p;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString RefusalOf(const QString& path)
{
    auto read = ReadProjectFile(path);
    return std::holds_alternative<QString>(read) ? std::get<QString>(read) : QStringLiteral("(opened)");
}

} // namespace

// Each refusal names the file and says what is wrong with it.
TEST(ProjectStorage, RefusesWhatIsNoProject)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        std::function<bool(const QString&)> make;
        const char* says;
    };
    const Case cases[] = {
        {"missing", [](const QString&) { return true; }, "does not exist"},
        {"folder", [](const QString& p) { return QDir().mkdir(p); }, "not a file"},
        {"text", [](const QString& p) { return WriteFile(p, "1 2 3\n"); }, "not a Tracella project"},
        // Sparse: refused by its size before a byte of it is read.
        {"huge",
         [](const QString& p) { return WriteFile(p, {}) && QFile::resize(p, MaxProjectFileBytes + 1); },
         "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".tracella"));
        ASSERT_TRUE(c.make(path));
        const QString refusal = RefusalOf(path);
        EXPECT_TRUE(refusal.contains(path)) << refusal.toStdString();
        EXPECT_TRUE(refusal.contains(QString::fromLatin1(c.says))) << refusal.toStdString();
    }
}

// A save that fails names the file and leaves the project saved before as it was.
TEST(ProjectStorage, FailedSaveKeepsTheEarlierProject)
{
    const Project earlier = Sample();
    const Project larger = Sample(QByteArray(256 * 1024, 'x'));
    struct Case {
        const char* name;
        std::function<bool(SmallFileSystem&)> prepare; // false: cannot be arranged here
        const Project& project;
    };
    const Case cases[] = {
        {"read-only disk", [](SmallFileSystem& fs) { return fs.makeReadOnly(); }, earlier},
        {"full disk", [](SmallFileSystem&) { return true; }, larger},
        {"read-only folder",
         [](SmallFileSystem& fs) { return ::geteuid() != 0 && ::chmod(QFile::encodeName(fs.path()), 0555) == 0; },
         earlier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallFileSystem fs;
        const QString path = fs.filePath(QStringLiteral("kept.tracella"));
        if (!fs.mounted() && QString::fromLatin1(c.name).contains(QStringLiteral("disk")))
            continue; // mounting needs the superuser
        ASSERT_FALSE(SaveProjectFile(path, earlier));
        if (!c.prepare(fs))
            continue;
        const auto error = SaveProjectFile(path, c.project);
        ::chmod(QFile::encodeName(fs.path()), 0755);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->description.contains(path)) << error->description.toStdString();
        EXPECT_EQ(FileBytes(path), EncodeProject(earlier));
    }
}

// Texts and arrays of every length whose head takes another size, and none at all.
TEST(RowsAsCbor, WritesWhatTheStreamWriterWrites)
{
    std::vector<GridRow> rows;
    for (int length : {0, 23, 24, 255, 256, 65535, 65536})
        rows.push_back({QString(length, u'7'), QStringLiteral("日本語 é"), QString()});
    rows.resize(300, {QStringLiteral(" 8"), QStringLiteral("-1.5"), QStringLiteral("1E+30")});
    for (std::size_t count : {0, 1, 7, 24, 300}) {
        const std::vector<GridRow> some(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(count));
        QByteArray expected;
        QCborStreamWriter w(&expected);
        w.startArray(count);
        for (const GridRow& row : some) {
            w.startArray(GridColumnCount);
            for (const QString& cell : row)
                w.append(cell);
            w.endArray();
        }
        w.endArray();
        EXPECT_EQ(RowsAsCbor(some), expected) << count;
    }
}
