#include "data/ProjectRecovery.h"

#include "data/DataFileWriting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

namespace tracella {

namespace {

const QString FilePattern = QStringLiteral("recovery-*.tracella");

QString LockNameOf(const QString& file)
{
    return file + QStringLiteral(".lock");
}

// A lock counts as stale only when its process is gone, however old it is.
void OnlyDeadOwnersAreStale(QLockFile& lock)
{
    lock.setStaleLockTime(0);
}

QString UniqueFileIn(const QString& folder)
{
    const QString stem = folder + QStringLiteral("/recovery-") + QString::number(QCoreApplication::applicationPid());
    QString file;
    do {
        file = stem + u'-' + QString::number(QRandomGenerator::system()->generate(), 36) + QStringLiteral(".tracella");
    } while (QFileInfo::exists(file) || QFileInfo::exists(LockNameOf(file)));
    return file;
}

bool MakeFolder(const QString& folder)
{
    return QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

} // namespace

QString RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tracella/recovery");
}

RecoveryWriter::RecoveryWriter(QString folder)
    : m_folder(std::move(folder)), m_file(UniqueFileIn(m_folder)), m_lock(LockNameOf(m_file))
{
    OnlyDeadOwnersAreStale(m_lock);
    m_thread = std::thread([this] { run(); });
}

RecoveryWriter::~RecoveryWriter()
{
    discard();
    {
        std::lock_guard guard(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void RecoveryWriter::submit(Project snapshot)
{
    {
        std::lock_guard guard(m_mutex);
        m_pending = std::move(snapshot);
    }
    m_changed.notify_all();
}

void RecoveryWriter::discard()
{
    std::unique_lock guard(m_mutex);
    m_pending.reset();
    m_changed.wait(guard, [this] { return !m_busy; });
    QFile::remove(m_file);
    if (m_lock.isLocked())
        m_lock.unlock();
    m_error.reset();
}

bool RecoveryWriter::waitIdle(int milliseconds)
{
    std::unique_lock guard(m_mutex);
    return m_changed.wait_for(guard, std::chrono::milliseconds(milliseconds),
                              [this] { return !m_busy && !m_pending; });
}

std::optional<QString> RecoveryWriter::lastError() const
{
    std::lock_guard guard(m_mutex);
    return m_error;
}

void RecoveryWriter::run()
{
    std::unique_lock guard(m_mutex);
    for (;;) {
        m_changed.wait(guard, [this] { return m_stop || m_pending; });
        if (m_stop)
            return;
        const Project snapshot = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        guard.unlock();
        auto error = write(snapshot);
        guard.lock();
        m_busy = false;
        m_error = std::move(error);
        m_changed.notify_all();
    }
}

// Runs on the writer's thread; discard() touches the lock only while no
// write is under way.
std::optional<QString> RecoveryWriter::write(const Project& snapshot)
{
    if (!m_lock.isLocked()) {
        if (!MakeFolder(m_folder))
            return QStringLiteral("Cannot create the recovery folder %1.").arg(m_folder);
        if (!m_lock.tryLock(0))
            return QStringLiteral("Cannot lock the recovery file %1.").arg(m_file);
    }
    if (auto error = WriteDataFile(m_file, EncodeProject(snapshot)))
        return error->description;
    return std::nullopt;
}

std::vector<QString> OrphanRecoveries(const QString& folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList({FilePattern}, QDir::Files, QDir::Time);
    std::vector<QString> orphans;
    for (const QFileInfo& info : files) {
        QLockFile lock(LockNameOf(info.filePath()));
        OnlyDeadOwnersAreStale(lock);
        if (lock.tryLock(0)) {
            lock.unlock(); // also clears a dead owner's lock
            orphans.push_back(info.filePath());
        }
    }
    return orphans;
}

void RemoveRecovery(const QString& file)
{
    QLockFile lock(LockNameOf(file));
    OnlyDeadOwnersAreStale(lock);
    if (!lock.tryLock(0))
        return;
    QFile::remove(file);
    // What a write cut short by the crash left beside it.
    const QFileInfo info(file);
    QDir folder = info.dir();
    const QString pattern = u'.' + info.fileName() + QStringLiteral(".*");
    const QStringList left = folder.entryList({pattern}, QDir::Files | QDir::Hidden);
    for (const QString& name : left)
        folder.remove(name);
    lock.unlock();
}

} // namespace tracella
