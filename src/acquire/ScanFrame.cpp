#include "acquire/ScanFrame.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace tracella {
namespace {

using SampleReader = uchar (*)(const uchar* line, qsizetype index);

// Samples are numbered along a line across all channels; 1-bit samples are
// packed most significant bit first.
uchar bitSample(const uchar* line, qsizetype index)
{
    return ((line[index >> 3] >> (7 - (index & 7))) & 1) ? 255 : 0;
}

uchar byteSample(const uchar* line, qsizetype index)
{
    return line[index];
}

uchar wordSample(const uchar* line, qsizetype index)
{
    quint16 value;
    std::memcpy(&value, line + 2 * index, sizeof value);
    return static_cast<uchar>((value * 255u + 32767u) / 65535u);
}

SampleReader readerFor(int depth)
{
    switch (depth) {
    case 1: return bitSample;
    case 8: return byteSample;
    case 16: return wordSample;
    default: return nullptr;
    }
}

int channelsOf(FrameKind kind)
{
    return kind == FrameKind::Rgb ? 3 : 1;
}

bool usable(const FrameParameters& p)
{
    if (!readerFor(p.depth) || p.pixelsPerLine <= 0 || p.bytesPerLine <= 0)
        return false;
    const qint64 bitsNeeded = qint64(p.pixelsPerLine) * channelsOf(p.kind) * p.depth;
    return p.bytesPerLine >= (bitsNeeded + 7) / 8;
}

int completeLines(const ScannedFrame& frame)
{
    const qsizetype arrived = frame.bytes.size() / frame.parameters.bytesPerLine;
    const qsizetype lines = frame.parameters.lines < 0 ? arrived : std::min<qsizetype>(frame.parameters.lines, arrived);
    return static_cast<int>(std::min<qsizetype>(lines, INT_MAX));
}

const uchar* lineOf(const ScannedFrame& frame, int y)
{
    return reinterpret_cast<const uchar*>(frame.bytes.constData()) + qsizetype(y) * frame.parameters.bytesPerLine;
}

QImage lineArtImage(const ScannedFrame& frame, int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const qsizetype rowBytes = (qsizetype(width) + 7) / 8;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), lineOf(frame, y), rowBytes);
    return image;
}

QImage greyImage(const ScannedFrame& frame, int width, int height)
{
    if (frame.parameters.depth == 1)
        return lineArtImage(frame, width, height);
    QImage image(width, height, QImage::Format_Grayscale8);
    if (image.isNull())
        return image;
    const SampleReader sample = readerFor(frame.parameters.depth);
    for (int y = 0; y < height; ++y) {
        const uchar* line = lineOf(frame, y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            out[x] = sample(line, x);
    }
    return image;
}

QImage colourImage(const ScannedFrame& frame, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const SampleReader sample = readerFor(frame.parameters.depth);
    for (int y = 0; y < height; ++y) {
        const uchar* line = lineOf(frame, y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const qsizetype i = 3 * qsizetype(x);
            out[x] = qRgb(sample(line, i), sample(line, i + 1), sample(line, i + 2));
        }
    }
    return image;
}

// A three-pass page: each frame is one channel; a channel that never came stays 0.
QImage channelsImage(const std::vector<ScannedFrame>& frames)
{
    const int width = frames.front().parameters.pixelsPerLine;
    int height = INT_MAX;
    std::array<const ScannedFrame*, 3> channel{};
    for (const ScannedFrame& f : frames) {
        const FrameKind kind = f.parameters.kind;
        if (kind == FrameKind::Gray || kind == FrameKind::Rgb || f.parameters.pixelsPerLine != width)
            return {};
        channel[static_cast<int>(kind) - static_cast<int>(FrameKind::Red)] = &f;
        height = std::min(height, completeLines(f));
    }
    if (height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::array<const uchar*, 3> lines{};
        std::array<SampleReader, 3> readers{};
        for (int c = 0; c < 3; ++c) {
            if (channel[c]) {
                lines[c] = lineOf(*channel[c], y);
                readers[c] = readerFor(channel[c]->parameters.depth);
            }
        }
        for (int x = 0; x < width; ++x) {
            std::array<int, 3> v{};
            for (int c = 0; c < 3; ++c)
                v[c] = lines[c] ? readers[c](lines[c], x) : 0;
            out[x] = qRgb(v[0], v[1], v[2]);
        }
    }
    return image;
}

} // namespace

QImage PageImage(const std::vector<ScannedFrame>& frames)
{
    if (frames.empty())
        return {};
    for (const ScannedFrame& f : frames) {
        if (!usable(f.parameters))
            return {};
    }
    const ScannedFrame& first = frames.front();
    const int width = first.parameters.pixelsPerLine;
    switch (first.parameters.kind) {
    case FrameKind::Gray:
    case FrameKind::Rgb: {
        const int height = completeLines(first);
        if (height <= 0)
            return {};
        return first.parameters.kind == FrameKind::Gray ? greyImage(first, width, height)
                                                        : colourImage(first, width, height);
    }
    default: return channelsImage(frames);
    }
}

} // namespace tracella
