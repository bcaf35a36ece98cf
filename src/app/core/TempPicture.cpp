#include "app/core/TempPicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tracella {
namespace {

const QString BaseName = QStringLiteral("Tracella_TempFile");
const QString LockSuffix = QStringLiteral(".lock");

QString pictureName(qint64 processId)
{
    return BaseName + QLatin1Char('.') + QString::number(processId);
}

// An open, locked companion whose name still leads to the locked file: one
// removed by a cleaner between our open and our lock is no claim at all.
int lockCompanion(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::stat(name.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev)
            return fd;
        ::close(fd);
    }
    return -1;
}

// The user's cache folder is read afresh each time, as it was before files
// were per process: whoever moves it (XDG_CACHE_HOME) moves the file too.
TempPictureFolder& processFolder()
{
    static std::unique_ptr<TempPictureFolder> folder;
    const QString location = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!folder || folder->location() != location)
        folder = std::make_unique<TempPictureFolder>(location, QCoreApplication::applicationPid());
    return *folder;
}

} // namespace

TempPictureFolder::TempPictureFolder(QString folder, qint64 processId)
    : folder_(std::move(folder)), processId_(processId)
{
}

TempPictureFolder::~TempPictureFolder()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString TempPictureFolder::path()
{
    QDir().mkpath(folder_);
    const QString picture = QDir(folder_).filePath(pictureName(processId_));
    if (lockFd_ < 0)
        lockFd_ = lockCompanion(picture + LockSuffix);
    return picture;
}

void TempPictureFolder::release()
{
    const QString picture = QDir(folder_).filePath(pictureName(processId_));
    QFile::remove(picture); // a missing file is no error here
    if (lockFd_ >= 0) {
        QFile::remove(picture + LockSuffix);
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

int TempPictureFolder::removeStale() const
{
    int removed = 0;
    const QDir dir(folder_);
    const QStringList companions =
        dir.entryList({BaseName + QStringLiteral(".*") + LockSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& companion : companions) {
        const QString lockPath = dir.filePath(companion);
        const int fd = lockCompanion(lockPath);
        if (fd < 0)
            continue; // its process still runs
        // Removed while locked, the companion last, so that nobody claims a
        // file that is on its way out.
        if (QFile::remove(lockPath.chopped(LockSuffix.size())))
            ++removed;
        QFile::remove(lockPath);
        ::close(fd);
    }
    return removed;
}

QString TempPicturePath()
{
    return processFolder().path();
}

void RemoveTempPicture()
{
    processFolder().release();
}

void RemoveStaleTempPictures()
{
    processFolder().removeStale();
}

} // namespace tracella
