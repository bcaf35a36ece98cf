#include "data/DataFileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tracella {

namespace {

// How long a pipe may stay full before its reader counts as gone.
constexpr int StalledReaderMilliseconds = 2000;

// errno of the first failing call, 0 when all bytes reached the disk.
// The file is open without blocking: a full pipe is waited on for a while.
int WriteAllAndSync(int fd, const QByteArray& bytes)
{
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<std::size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN) {
                pollfd writable{fd, POLLOUT, 0};
                const int ready = ::poll(&writable, 1, StalledReaderMilliseconds);
                if (ready > 0 || (ready < 0 && errno == EINTR)) {
                    continue;
                }
                return ready == 0 ? EAGAIN : errno;
            }
            return errno;
        }
        next += written;
        left -= written;
    }
    // Some file systems report a full disk or a device error only here;
    // devices and pipes that cannot be synchronised say so with EINVAL.
    if (::fdatasync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        return errno;
    }
    return 0;
}

int CloseFile(int fd)
{
    return ::close(fd) == 0 ? 0 : errno;
}

// A new, empty file next to the target, created with the usual permissions.
struct SiblingFile {
    int fd = -1;
    QByteArray path;
};

SiblingFile CreateSiblingFile(const QString& target)
{
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".");
    SiblingFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.path = QFile::encodeName(stem + QString::number(QRandomGenerator::global()->generate(), 36));
        file.fd = ::open(file.path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd >= 0 || errno != EEXIST) {
            break;
        }
    }
    return file;
}

bool MatchesWildcard(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

bool IsPipe(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

AppError WriteError(int error, const QString& path)
{
    // Opened without blocking, a pipe with no reader refuses (ENXIO) and one
    // whose reader stopped stays full (EAGAIN); neither may hold the window.
    if (error == ENXIO && IsPipe(path)) {
        return {error, QStringLiteral("Nothing is reading the named pipe ") + path};
    }
    if (error == EAGAIN && IsPipe(path)) {
        return {error, QStringLiteral("Nothing has taken data from the named pipe ") + path + QStringLiteral(" for ") +
                           QString::number(StalledReaderMilliseconds / 1000) + QStringLiteral(" seconds")};
    }
    return FileError(error, path);
}

// Opens the file itself (no replacement) and writes the whole block.
std::optional<AppError> WriteIntoOpened(const QString& path, int flags, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return WriteError(errno, path);
    }
    int error = WriteAllAndSync(fd, bytes);
    const int closeError = CloseFile(fd);
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        return WriteError(error, path);
    }
    return std::nullopt;
}

// A renamed copy would take the file's place only under the name written:
// not where the folder allows no new file, where other names of the file
// would keep the old table, or where the copy would change its owner.
bool CanBeReplaced(const QString& target, const struct stat& existing)
{
    return existing.st_nlink == 1 && existing.st_uid == ::geteuid() &&
           ::access(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), W_OK | X_OK) == 0;
}

// The folder refused the copy, although it seemed to allow it.
bool RefusedByFolder(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

std::optional<AppError> WriteDataFile(const QString& path, const QByteArray& bytes)
{
    struct stat existing {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return FileError(EISDIR, path);
    }
    if (exists && ::access(QFile::encodeName(path).constData(), W_OK) != 0) {
        return FileError(errno, path);
    }
    // Through a link, the file it points to is the one replaced.
    const QString target = exists ? QFileInfo(path).canonicalFilePath() : path;
    // A device or pipe cannot be replaced by a renamed copy: write into it.
    const auto inPlace = [&path, &bytes] { return WriteIntoOpened(path, O_WRONLY | O_TRUNC, bytes); };
    if (exists && (!S_ISREG(existing.st_mode) || !CanBeReplaced(target, existing))) {
        return inPlace();
    }

    const SiblingFile sibling = CreateSiblingFile(target);
    if (sibling.fd < 0) {
        const int openError = errno;
        return exists && RefusedByFolder(openError) ? inPlace() : FileError(openError, path);
    }
    if (exists) {
        ::fchmod(sibling.fd, existing.st_mode & 07777);
        [[maybe_unused]] const int grouped = ::fchown(sibling.fd, static_cast<uid_t>(-1), existing.st_gid);
    }
    int error = WriteAllAndSync(sibling.fd, bytes);
    const int closeError = CloseFile(sibling.fd);
    if (error == 0) {
        error = closeError;
    }
    if (error == 0) {
        if (::rename(sibling.path.constData(), QFile::encodeName(target).constData()) == 0) {
            return std::nullopt;
        }
        const int renameError = errno;
        ::unlink(sibling.path.constData());
        // A sticky folder lets only a file's owner replace it.
        return exists && RefusedByFolder(renameError) ? inPlace() : FileError(renameError, path);
    }
    ::unlink(sibling.path.constData());
    return FileError(error, path);
}

std::optional<AppError> AppendDataFile(const QString& path, const QByteArray& bytes)
{
    return WriteIntoOpened(path, O_WRONLY | O_APPEND | O_CREAT, bytes);
}

bool FileExists(const QString& name)
{
    if (name.isEmpty()) {
        return false;
    }
    const QFileInfo info(name);
    const QString pattern = info.fileName();
    if (!pattern.contains(u'*') && !pattern.contains(u'?')) {
        return info.exists() || info.isSymLink();
    }
    const QStringList entries =
        info.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&pattern](const QString& entry) { return MatchesWildcard(pattern, entry); });
}

} // namespace tracella
