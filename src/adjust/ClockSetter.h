#pragma once
// Setting the computer's clock while the program runs: the periodic and start-up runs asked on
// every tick, the runs the user starts, one worker thread per source (a second start while one
// runs is ignored), and the zero adjustment. Results go to the host, which plays, shows and
// refreshes as the settings say.

#include "adjust/AdjustResults.h"
#include "adjust/AdjustSchedule.h"
#include "adjust/ElevatedClockSet.h"
#include "shell/WindowDispatcher.h"
#include "shell/Worker.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>

namespace lumora {

struct ClockSetterHost {
    // The master's LastConnectedTime, shared by SNTP and HTTP runs.
    std::function<double()> LastConnectedTime;
    std::function<void(double)> SetLastConnectedTime;
    std::function<LocaleFacts()> Locale;
    // A run ended (its worker is idle again): result and the kind it ran as.
    std::function<void(const AdjustResult&, AdjustKind)> Finished;
    bool KitPortRefusesSettings = false; // a fault for the end-to-end tests
};

class ClockSetter {
public:
    // message: a message number of window's that this object's workers use to reach it.
    ClockSetter(HWND window, UINT message, bool bootAdjust, double now, ClockSetterHost host);
    // Stops every run and waits for its thread.
    ~ClockSetter();

    // Asks every run to end and gives them up to grace to do so; false when one is still held in
    // a call the system cannot interrupt (WinINet waiting on a server that accepted and is silent).
    bool StopAll(std::chrono::milliseconds grace);
    ClockSetter(const ClockSetter&) = delete;
    ClockSetter& operator=(const ClockSetter&) = delete;

    // True when message was ours.
    bool HandleMessage(UINT message) { return dispatcher_.HandleMessage(message); }

    // First thing of every pass: a due periodic or start-up run starts.
    void Tick(const AdjustClockSettings& settings, double now);
    // False while that source's run still goes.
    bool Start(AdjustSource source, const AdjustRequest& request);
    bool Running(AdjustSource source) const;
    // "正時に合わせる(&Z)", on this thread: it only sets the clock.
    AdjustResult ZeroAdjust();
    // Starts the elevated copy that adds a correction to the clock, and hands its run to finished
    // once it has ended; false while one is still going.
    bool StartElevatedSet(HWND owner, const std::wstring& arguments,
                          std::function<void(const ElevatedSetRun&)> finished);
    // After the program set the clock: the schedule follows the change.
    void ClockChanged(double correction) { schedule_.ClockChanged(correction); }

private:
    Worker<AdjustResult>& WorkerOf(AdjustSource source) const;

    WindowDispatcher dispatcher_;
    AdjustSchedule schedule_;
    ClockSetterHost host_;
    std::array<std::unique_ptr<Worker<AdjustResult>>, 3> workers_;
    std::unique_ptr<Worker<ElevatedSetRun>> elevated_; // last: joined first
};

} // namespace lumora
