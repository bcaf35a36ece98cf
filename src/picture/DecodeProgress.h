#pragma once

#include "picture/CancelToken.h"

#include <atomic>

namespace tracella {

// What a decoder on a worker thread shares with the window waiting for it:
// the rows done so far (when the decoder can tell), and the window's wish
// to give up.
class DecodeProgress {
public:
    void setRows(int rows) { rows_ = rows; }
    void setRowsDone(int done) { done_.store(done, std::memory_order_relaxed); }
    // For decoders whose threads share the rows.
    void addRowsDone(int more) { done_.fetch_add(more, std::memory_order_relaxed); }
    // Rows decoded out of rows, or rows 0 when the decoder says nothing.
    int rows() const { return rows_; }
    int rowsDone() const { return done_.load(std::memory_order_relaxed); }

    CancelToken& cancel() { return cancel_; }

private:
    std::atomic<int> rows_{0};
    std::atomic<int> done_{0};
    CancelToken cancel_;
};

} // namespace tracella
