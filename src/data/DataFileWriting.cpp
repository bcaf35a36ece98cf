#include "data/DataFileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tracella {

namespace {

// errno of the first failing call, 0 when all bytes reached the disk.
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

// Opens the file itself (no replacement) and writes the whole block.
std::optional<AppError> WriteIntoOpened(const QString& path, int flags, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        return FileError(errno, path);
    }
    int error = WriteAllAndSync(fd, bytes);
    const int closeError = CloseFile(fd);
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        return FileError(error, path);
    }
    return std::nullopt;
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
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or pipe cannot be replaced by a renamed copy: write into it.
        return WriteIntoOpened(path, O_WRONLY | O_TRUNC | O_CLOEXEC, bytes);
    }
    // Through a link, the file it points to is the one replaced.
    const QString target = exists ? QFileInfo(path).canonicalFilePath() : path;

    const SiblingFile sibling = CreateSiblingFile(target);
    if (sibling.fd < 0) {
        const int openError = errno;
        return FileError(openError, QFileInfo(target).absolutePath());
    }
    if (exists) {
        ::fchmod(sibling.fd, existing.st_mode & 07777);
        // Only possible for a privileged user; otherwise the writer owns it.
        [[maybe_unused]] const int owned = ::fchown(sibling.fd, existing.st_uid, existing.st_gid);
    }
    int error = WriteAllAndSync(sibling.fd, bytes);
    const int closeError = CloseFile(sibling.fd);
    if (error == 0) {
        error = closeError;
    }
    if (error == 0 && ::rename(sibling.path.constData(), QFile::encodeName(target).constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(sibling.path.constData());
        return FileError(error, path);
    }
    return std::nullopt;
}

std::optional<AppError> AppendDataFile(const QString& path, const QByteArray& bytes)
{
    return WriteIntoOpened(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, bytes);
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
