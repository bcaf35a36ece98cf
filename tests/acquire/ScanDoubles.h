#pragma once

#include "acquire/ScanLibrary.h"
#include "app/core/AppError.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

namespace tracella::test {

// A source that serves scripted frames in chunks, and records what was asked.
class FakeScanDevice final : public ScanDevice {
public:
    struct Frame {
        std::optional<FrameParameters> parameters; // nullopt: the source gives no frame
        QByteArray bytes;
        bool failAtEnd = false; // a read error instead of the end of the frame
    };

    explicit FakeScanDevice(std::deque<Frame> frames, int chunk = 7) : frames_(std::move(frames)), chunk_(chunk) {}

    std::optional<FrameParameters> startFrame() override
    {
        if (frames_.empty())
            return std::nullopt;
        current_ = frames_.front();
        frames_.pop_front();
        offset_ = 0;
        return current_.parameters;
    }

    ScanRead read(char* into, int capacity, int& length) override
    {
        ++reads;
        if (beforeRead)
            beforeRead(reads);
        length = static_cast<int>(std::min<qsizetype>({capacity, chunk_, current_.bytes.size() - offset_}));
        if (length == 0)
            return current_.failAtEnd ? ScanRead::Failed : ScanRead::EndOfFrame;
        std::memcpy(into, current_.bytes.constData() + offset_, length);
        offset_ += length;
        return ScanRead::Data;
    }

    void cancel() override { ++cancels; }

    int reads = 0;
    int cancels = 0;
    std::function<void(int read)> beforeRead;

private:
    std::deque<Frame> frames_;
    Frame current_;
    qsizetype offset_ = 0;
    int chunk_;
};

// A scanner library with scripted sources and one scripted page.
class FakeScanLibrary final : public ScanLibrary {
public:
    bool start() override { return running = starts_; }
    void stop() override { running = false; }
    int version() const override { return versionTimes100; }
    QList<ScanSource> sources() override
    {
        if (failure)
            throw *failure;
        return sourceList;
    }
    std::unique_ptr<ScanDevice> open(const QString& name) override
    {
        opened << name;
        auto device = std::make_unique<FakeScanDevice>(page, chunk);
        device->beforeRead = beforeRead;
        return device;
    }

    bool starts_ = true; // whether start() succeeds
    int versionTimes100 = 113;
    QList<ScanSource> sourceList{{QStringLiteral("fake:0"), QStringLiteral("Acme"), QStringLiteral("Flatbed 1"),
                                  QStringLiteral("flatbed scanner")},
                                 {QStringLiteral("fake:1"), QStringLiteral("Acme"), QStringLiteral("Camera 2"),
                                  QStringLiteral("still camera")}};
    std::optional<AppError> failure;
    std::deque<FakeScanDevice::Frame> page;
    int chunk = 7;
    std::function<void(int read)> beforeRead;

    bool running = false;
    QStringList opened;
};

// A single colour frame of width x height whose pixel (x, y) is (x, y, x + y).
inline FakeScanDevice::Frame ColourRamp(int width, int height)
{
    FakeScanDevice::Frame frame{FrameParameters{FrameKind::Rgb, true, 3 * width, width, height, 8}, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            frame.bytes.append(char(x));
            frame.bytes.append(char(y));
            frame.bytes.append(char(x + y));
        }
    }
    return frame;
}

} // namespace tracella::test
