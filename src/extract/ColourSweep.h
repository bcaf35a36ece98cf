#pragma once

#include "app/core/AppState.h"

#include <QImage>

#include <cstdint>
#include <functional>

namespace tracella {

// What the sweep needs of the application state.
struct SweepSettings {
    Frame frame;              // FrameLeft, FrameTop, FrameRight, FrameBottom
    std::int32_t columns = 0; // ARCols
    std::int32_t rows = 0;    // ARRows
    Colour dataColour = 0;    // ARDataColor
    Colour backdrop = 0;      // the surface's colour under transparent pixels
};

SweepSettings SweepSettingsOf(const AppState& state);

enum class SweepAnswer { Continue, Stop };

struct SweepHandlers {
    // Required. A matching sample at frame position (x, y), x in double and
    // y in single precision as they go on to RecordPoint. Continue counts
    // the point; Stop (the grid is full) ends the sweep without counting it.
    std::function<SweepAnswer(double x, float y)> match;
    // Optional. The part of the progress bar to show, 0..ProgressResolution,
    // given only when it changes (SweepProgress).
    std::function<void(int shown)> progress;
};

struct SweepResult {
    std::int64_t found = 0; // matches the handler took
    bool stopped = false;   // by the handler
};

// How the sweep reads the picture. Bands of columns are read row by row,
// along the picture's memory, noting in which rows each column matches;
// the matching stretch of each column is then read again and reported in
// the sweep's own order. A column longer than tileRows is read alone, a
// tile of rows at a time, which keeps the working memory bounded.
struct SweepLimits {
    int bandColumns = 8192;
    std::int64_t tileRows = 1 << 20;
};

// The progress bar's maximum: rows * columns + (right - left) / column step
// + (bottom - top) / row step, summed in double and rounded to single; about
// one less than the number of samples.
double SweepProgressMaximum(const SweepSettings& settings);

// Visits the sample grid column by column, each column from the top edge to
// the bottom edge, and reports every sample whose colour matches; a sample
// outside the picture never does.
SweepResult SweepColours(const QImage& picture, const SweepSettings& settings, const SweepHandlers& handlers,
                         const SweepLimits& limits = {});

} // namespace tracella
