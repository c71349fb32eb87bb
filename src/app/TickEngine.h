#pragma once
// The multimedia timer that drives the master tick. Its callback runs on a system thread and
// does nothing but post the tick message, and only while no pass is running.

#include <windows.h>

#include <atomic>

namespace lumora {

class TickEngine {
public:
    TickEngine(HWND target, UINT tickMessage);
    ~TickEngine();
    TickEngine(const TickEngine&) = delete;
    TickEngine& operator=(const TickEngine&) = delete;

    // Queries the device and asks for a timer resolution equal to the tick period.
    void Prepare();
    // Starts the periodic timer; false when the system refused it.
    bool Start();
    void Stop();

    int Period() const { return period_; }
    UINT Message() const { return message_; }

    // Cleared while a pass runs, so passes never queue up behind a slow one.
    void SetPostingAllowed(bool allowed) { postingAllowed_.store(allowed); }

private:
    static void CALLBACK TimerCallback(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    HWND target_;
    UINT message_;
    int period_ = 33;
    int resolution_ = -1; // -1: no resolution to release at the end
    UINT timerId_ = 0;
    std::atomic<bool> postingAllowed_{true};
};

} // namespace lumora
