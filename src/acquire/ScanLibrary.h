#pragma once

#include "acquire/ScanFrame.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace tracella {

// The error number of a scanner library that fails in a way no scan explains.
constexpr long ScanLibraryFailure = 48;

struct ScanSource {
    QString name; // what the library opens it by, e.g. "test:0"
    QString vendor;
    QString model;
    QString type;
};

enum class ScanRead { Data, EndOfFrame, Failed };

// An opened image source.
class ScanDevice {
public:
    virtual ~ScanDevice() = default;
    // Starts the next frame of a page; nullopt when the source gives none
    // (no paper, jammed, busy, ...).
    virtual std::optional<FrameParameters> startFrame() = 0;
    // Reads up to `capacity` bytes of the current frame into `into`.
    virtual ScanRead read(char* into, int capacity, int& length) = 0;
    // Ends the page, finished or not.
    virtual void cancel() = 0;
};

// A scanner library such as SANE. One use runs from start() to stop();
// devices opened in between must be gone before stop().
class ScanLibrary {
public:
    virtual ~ScanLibrary() = default;
    virtual bool start() = 0;
    virtual void stop() = 0;
    // Major x 100 + minor of the library that last started.
    virtual int version() const = 0;
    // The sources it finds now. Throws AppError when the library fails.
    virtual QList<ScanSource> sources() = 0;
    // nullptr when the source cannot be opened.
    virtual std::unique_ptr<ScanDevice> open(const QString& name) = 0;
};

// One use of a library, stopped when it goes out of scope.
class ScanSession {
public:
    explicit ScanSession(ScanLibrary& library) : library_(library), started_(library.start()) {}
    ~ScanSession()
    {
        if (started_)
            library_.stop();
    }
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    bool started() const { return started_; }

private:
    ScanLibrary& library_;
    bool started_;
};

} // namespace tracella
