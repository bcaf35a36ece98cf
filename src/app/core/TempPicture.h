#pragma once

#include <QString>

namespace tracella {

// The temporary picture file of Undo Rotate: written before each rotation,
// read by Undo Rotate, deleted at shutdown. Per user and per running
// process, so that two instances never read or delete each other's.
QString TempPicturePath();

// At shutdown: this process's file and its claim on it.
void RemoveTempPicture();

// At start-up: the files of processes that no longer run, however they ended.
void RemoveStaleTempPictures();

// One process's temporary picture in a given folder. The process claims its
// file with an advisory lock on a companion file, which the system drops
// when the process ends, even by kill -9: a file whose companion can be
// locked belongs to nobody. A process id reused later is no mistake either,
// as the lock, not the id, says who is alive.
class TempPictureFolder {
public:
    TempPictureFolder(QString folder, qint64 processId);
    ~TempPictureFolder();
    TempPictureFolder(const TempPictureFolder&) = delete;
    TempPictureFolder& operator=(const TempPictureFolder&) = delete;

    const QString& location() const { return folder_; }
    // The process's file, claimed on first use.
    QString path();
    // The file and the claim, as at a normal exit.
    void release();
    // Removes the pictures and companions of processes that ended; returns
    // how many pictures went.
    int removeStale() const;

private:
    QString folder_;
    qint64 processId_;
    int lockFd_ = -1;
};

} // namespace tracella
