#pragma once
// The tool windows of the menu and the icon: the world clock, the opacity, the about box, the
// calendar, the timer and the options dialog, each open once (the command brings an open one
// forward), with the help they share and the splash windows of the start. Their changes of
// settings go to the master as a new record.

#include "app/Announcer.h"
#include "app/TimerFeature.h"
#include "app/WindowOwner.h"
#include "clock/SystemFacts.h"
#include "menu/CommandIds.h"
#include "options/OptionForm.h"
#include "settings/Settings.h"
#include "shell/HelpViewer.h"

#include <windows.h>

#include <functional>

namespace lumora {

class ToolWindows {
public:
    struct Outlets {
        // A changed record, through the master's one door for new settings.
        std::function<void(const Settings&)> ApplySettings;
        // A command of the menu (the about box's link runs the web-site command).
        std::function<void(CommandId)> RunCommand;
        // The clock's displayed time now (the world clock's zone included).
        std::function<double()> DisplayedNow;
    };

    ToolWindows(HWND master, const Settings& settings, const SystemFacts& facts, bool layeredWindows,
                Announcer& announcer, Outlets outlets);

    // One splash per monitor; one that fails is left out and start-up goes on.
    void ShowSplashes(std::function<bool()> startupFinished);
    // The open window of a kind comes forward; true when there was one.
    bool BringForward(WindowKind kind);
    bool IsOpen(WindowKind kind) const { return windows_.IsOpen(kind); }

    // The commands; an open window of the kind comes forward instead.
    void OpenWorldClock();
    void OpenAlphaBlend();
    void OpenAbout();
    void OpenTimer();
    // The caller brings an open one forward before it gathers what the dialog needs.
    void OpenOptions(OptionContext context);
    // In the corner of the primary work area next to the notification area; nothing when open.
    void OpenCalendar();
    // A change of the time or of the settings: today again, the shown month kept.
    void RefreshCalendar();
    HWND OptionsWindow() const;

    TimerFeature& Timer() { return timer_; }
    const HelpViewer& Help() const { return help_; }
    // The help goes first at the end, not left on screen while the settings are written.
    void CloseHelp() { help_.CloseAll(); }
    void ReleaseClosed() { windows_.ReleaseClosed(); }
    void DestroyAll() { windows_.DestroyAll(); }

private:
    // A copy of the record with one change made, handed to the master.
    void ApplyChanged(const std::function<void(Settings&)>& change);

    HWND master_;
    const Settings& settings_;
    const SystemFacts& facts_;
    bool layeredWindows_;
    Outlets outlets_;
    HelpViewer help_;
    WindowOwner windows_;
    TimerFeature timer_;
};

} // namespace lumora
