#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

namespace tracella {

// What a frame's bytes hold: grey samples, interleaved red-green-blue
// samples, or one colour channel of a page sent in three passes.
enum class FrameKind { Gray, Rgb, Red, Green, Blue };

// The layout of one frame as the scanner announces it.
struct FrameParameters {
    FrameKind kind = FrameKind::Gray;
    bool lastFrame = true;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int lines = -1; // -1: not known until the frame ends (hand scanners)
    int depth = 8;  // bits per sample: 1, 8 or 16
};

struct ScannedFrame {
    FrameParameters parameters;
    QByteArray bytes;
};

// The picture of one scanned page: one frame, or the red, green and blue
// frames of a three-pass scan. Line art (grey at 1 bit, 1 = black) becomes a
// two-colour picture, grey a grey-scale one, colour 32-bit RGB; 16-bit samples
// (in the machine's byte order) are scaled to 8 bits. Only complete lines
// count. A null image when the frames make no picture.
QImage PageImage(const std::vector<ScannedFrame>& frames);

} // namespace tracella
