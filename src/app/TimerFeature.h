#pragma once
// The countdown timer as the program's feature: its dialog, opened once; its step on every pass;
// and its firing, with the caption, the operation (a program, shutdown, standby, hibernation) and
// the announcement. Message boxes come only after the pass, so the clock keeps ticking beneath
// them.

#include "app/Announcer.h"
#include "app/WindowOwner.h"
#include "clock/DateTime.h"
#include "settings/Settings.h"
#include "tools/Countdown.h"

#include <windows.h>

#include <functional>

namespace lumora {

class TimerFeature {
public:
    struct Outlets {
        // The master's [Timer] section as it stands, and a changed one for the master to apply.
        std::function<TimerSettings()> CurrentSettings;
        std::function<void(const TimerSettings&)> ChangeSettings;
        // Now in the scale of the due time: the displayed time.
        std::function<double()> DisplayedNow;
    };

    TimerFeature(const Settings& settings, WindowOwner& windows, Announcer& announcer, Outlets outlets)
        : settings_(settings), windows_(windows), announcer_(announcer), outlets_(std::move(outlets)) {}

    // The timer command: the dialog, or the open one brought forward by the caller.
    void Open(HWND master);
    // The pass's step, on the displayed time before the animation lead.
    void Step(double displayed, const DateTimeParts& taken);
    bool Running() const { return countdown_.Running(); }

private:
    void Fire(class TTimerForm* form);

    const Settings& settings_;
    WindowOwner& windows_;
    Announcer& announcer_;
    Outlets outlets_;
    CountdownTimer countdown_;
};

} // namespace lumora
