#pragma once
// Setting the computer's clock as the program's feature: the runs the menu, the schedule and the
// options dialog's test start, the time of the last server contact kept in the settings, and what
// every run's end brings (the sound, the taskbar clock's redraw, the result as the settings say).
// A run the user started that the system refused for want of the right may be made again with
// administrator rights.

#include "adjust/ClockPrivilege.h"
#include "adjust/ClockSetter.h"
#include "adjust/ElevatedClockSet.h"
#include "app/Announcer.h"
#include "clock/DateTimeFormat.h"
#include "settings/Settings.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumora {

class ClockAdjuster {
public:
    struct Outlets {
        std::function<LocaleFacts()> Locale;
        std::function<HWND()> ClockWindow;
        std::function<void()> RedrawTaskbarClock;
        // The adjustment sound, played as the master's own.
        std::function<void(const std::wstring& fileName)> PlayAdjustSound;
    };

    // settings: the master's section, which also keeps the time of the last server contact.
    ClockAdjuster(HWND master, UINT message, AdjustClockSettings& settings, Announcer& announcer, Outlets outlets,
                  bool kitPortRefusesSettings);

    // The workers' results, posted to the master as message.
    bool HandleMessage(UINT message) { return setter_.HandleMessage(message); }
    // The automatic schedule, on every pass.
    void Tick(double now) { setter_.Tick(settings_, now); }

    // A run of the menu; none when the settings name no source for it.
    void StartFromMenu(std::optional<AdjustSource> source);
    // "テスト(&T)" of the options dialog (method 1 SNTP, 2 HTTP, 3 the kit): a run that reports and
    // sets nothing, refused with a box while its source is still at work.
    void StartTest(HWND owner, int method, const AdjustClockSettings& scratch);
    // Any run, for the tests.
    void Start(AdjustSource source, AdjustKind kind);
    // The menu's zero adjustment: the clock set to itself.
    void AdjustZero();
    bool Running(AdjustSource source) const { return setter_.Running(source); }
    // False when a run is still held after grace.
    bool StopAll(std::chrono::milliseconds grace) { return setter_.StopAll(grace); }

    // For the tests: the last elevated set's arguments, start error and exit code, one a line.
    std::wstring DescribeElevatedSet() const;

private:
    void Finished(const AdjustResult& result, AdjustKind kind);
    void OfferElevatedSet(const AdjustResult& refused, AdjustKind kind);
    void ElevatedSetFinished(const AdjustResult& refused, AdjustKind kind, const ElevatedSetRun& run);
    void Report(const AdjustResult& result, AdjustKind kind);

    HWND master_;
    AdjustClockSettings& settings_;
    Announcer& announcer_;
    Outlets outlets_;
    ClockSetter setter_;
    ClockPrivilegeRules privilege_;
    std::optional<ElevatedSetRun> lastElevatedSet_;
};

} // namespace lumora
