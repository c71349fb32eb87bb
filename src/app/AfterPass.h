#pragma once
// Work the pass hands on rather than does: a message box opened inside the pass would hold the
// tick, and the face would stand still until someone answered it. The work runs from a message
// posted to the master, in order and one at a time: a box that is up does not let the next one
// open on top of it, while the ticks go on beneath.

#include <windows.h>

#include <deque>
#include <functional>

namespace lumora {

class AfterPass {
public:
    AfterPass(HWND window, UINT message) : window_(window), message_(message) {}
    AfterPass(const AfterPass&) = delete;
    AfterPass& operator=(const AfterPass&) = delete;

    void Add(std::function<void()> work);
    // The posted message: runs what waits, unless an earlier piece is still running.
    void Run();
    UINT Message() const { return message_; }

private:
    HWND window_;
    UINT message_;
    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
};

} // namespace lumora
