#include "picture/PictureJob.h"

#include <QThreadPool>

#include <chrono>
#include <exception>

namespace tracella {

std::shared_ptr<PictureJob> PictureJob::start(Work work)
{
    auto job = std::make_shared<PictureJob>();
    QThreadPool::globalInstance()->start([job, work = std::move(work)] {
        LoadedPicture result;
        try {
            result = work(job->progress_);
        } catch (const std::exception&) {
            result = {{}, AppError{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory")}};
        }
        job->finish(std::move(result));
    });
    return job;
}

std::shared_ptr<PictureJob> PictureJob::loadFile(const QString& path)
{
    return start([path](DecodeProgress& progress) { return LoadPictureFile(path, MaxPictureSide, &progress); });
}

bool PictureJob::isFinished() const
{
    const std::lock_guard lock(mutex_);
    return result_.has_value();
}

bool PictureJob::waitFor(int ms)
{
    std::unique_lock lock(mutex_);
    return finished_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return result_.has_value(); });
}

LoadedPicture PictureJob::take()
{
    const std::lock_guard lock(mutex_);
    if (!result_)
        return {};
    LoadedPicture taken = std::move(*result_);
    result_ = LoadedPicture{};
    return taken;
}

void PictureJob::finish(LoadedPicture result)
{
    {
        const std::lock_guard lock(mutex_);
        result_ = std::move(result);
    }
    finished_.notify_all();
}

} // namespace tracella
