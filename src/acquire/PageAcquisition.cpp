#include "acquire/PageAcquisition.h"

#include <vector>

namespace tracella {
namespace {

constexpr int ReadSize = 64 * 1024;
constexpr std::size_t MostFrames = 3; // a three-pass page

qint64 expectedPageBytes(const FrameParameters& p)
{
    if (p.lines < 0)
        return 0;
    const qint64 passes = (p.kind == FrameKind::Gray || p.kind == FrameKind::Rgb) ? 1 : 3;
    return passes * p.lines * p.bytesPerLine;
}

} // namespace

QImage AcquirePage(ScanDevice& device, const ScanProgress& keepGoing)
{
    std::vector<ScannedFrame> frames;
    std::vector<char> buffer(ReadSize);
    qint64 received = 0;
    bool last = false;
    while (!last && frames.size() < MostFrames) {
        const std::optional<FrameParameters> parameters = device.startFrame();
        if (!parameters) {
            device.cancel();
            return {};
        }
        last = parameters->lastFrame;
        const qint64 expected = expectedPageBytes(*parameters);
        ScannedFrame& frame = frames.emplace_back(ScannedFrame{*parameters, {}});
        if (parameters->lines > 0)
            frame.bytes.reserve(qsizetype(parameters->lines) * parameters->bytesPerLine);
        for (;;) {
            int length = 0;
            const ScanRead result = device.read(buffer.data(), ReadSize, length);
            if (result == ScanRead::EndOfFrame)
                break;
            if (result == ScanRead::Failed) {
                device.cancel();
                return {};
            }
            frame.bytes.append(buffer.data(), length);
            received += length;
            if (!keepGoing(received, expected)) {
                device.cancel();
                return {};
            }
        }
    }
    device.cancel();
    return PageImage(frames);
}

} // namespace tracella
