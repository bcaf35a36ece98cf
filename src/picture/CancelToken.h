#pragma once

#include <atomic>
#include <functional>

namespace tracella {

// Lets long work be given up. The work asks isCancelled() now and then;
// cancel() may come from any thread. Work on the window's thread has no one
// else to call cancel(), so the token may carry a poll that isCancelled()
// asks as well (e.g. whether Esc was pressed).
class CancelToken {
public:
    CancelToken() = default;
    explicit CancelToken(std::function<bool()> poll) : poll_(std::move(poll)) {}
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    void cancel() { cancelled_ = true; }
    bool isCancelled()
    {
        if (!cancelled_ && poll_ && poll_())
            cancelled_ = true;
        return cancelled_;
    }
    // Whether the work was given up, without asking the poll again.
    bool wasCancelled() const { return cancelled_; }

private:
    std::atomic<bool> cancelled_{false};
    std::function<bool()> poll_;
};

} // namespace tracella
