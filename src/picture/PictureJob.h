#pragma once

#include "picture/DecodeProgress.h"
#include "picture/PictureLoader.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tracella {

// A picture decoded on a worker thread while the window goes on answering.
// The worker holds the job too, so a job given up may end after its owner.
class PictureJob {
public:
    using Work = std::function<LoadedPicture(DecodeProgress&)>;

    // Starts the work on Qt's thread pool, which waits for it at exit.
    static std::shared_ptr<PictureJob> start(Work work);
    // The usual work: one picture file through LoadPictureFile.
    static std::shared_ptr<PictureJob> loadFile(const QString& path);

    DecodeProgress& progress() { return progress_; }
    bool isFinished() const;
    // Waits up to ms milliseconds; true once the work has ended.
    bool waitFor(int ms);
    // The result of finished work (an out-of-memory error when the work threw).
    LoadedPicture take();
    // Asks the work to stop; its result, whenever it comes, is dropped.
    void giveUp() { progress_.cancel().cancel(); }

private:
    void finish(LoadedPicture result);

    DecodeProgress progress_;
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::optional<LoadedPicture> result_;
};

} // namespace tracella
