#pragma once

#include "data/ProjectFile.h"

#include <QLockFile>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tracella {

// $XDG_STATE_HOME/tracella/recovery, or ~/.local/state/tracella/recovery
// when that variable is unset or not an absolute path.
QString RecoveryFolder();

// Keeps a recovery copy of the unsaved work, written off the window's thread.
// One per process: its file is the process's own and stays locked while the
// process lives, so another process can tell it from one left by a crash.
class RecoveryWriter {
public:
    explicit RecoveryWriter(QString folder = RecoveryFolder());
    ~RecoveryWriter(); // discards
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Returns at once; the snapshot is written in the background. Of the
    // snapshots that arrive during a write only the latest is written next.
    void submit(Project snapshot);
    // Waits for a write in progress, then removes the recovery file.
    void discard();
    // False when a write was still pending after the time.
    bool waitIdle(int milliseconds);
    // The failure of the latest write, if it failed; a full disk must not
    // disturb the window, so nothing is thrown.
    std::optional<QString> lastError() const;
    QString fileName() const { return m_file; }

private:
    void run();
    std::optional<QString> write(const Project& snapshot);

    const QString m_folder;
    const QString m_file;
    QLockFile m_lock; // held while the file exists
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Project> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::optional<QString> m_error;
    std::thread m_thread;
};

// Recovery files whose process is gone (their lock is stale or absent),
// newest first; never the file of a running process.
std::vector<QString> OrphanRecoveries(const QString& folder = RecoveryFolder());

// Removes a recovery file, unless a running process still owns it.
void RemoveRecovery(const QString& file);

} // namespace tracella
