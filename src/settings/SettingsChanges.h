#pragma once
// Which parts of the running program a change of settings asks to rebuild, so that the options
// dialog's Apply redoes only what the new values need.

#include "settings/Settings.h"

namespace lumora {

// Keys that are read afresh whenever they are used (the time format's 12/24-hour rules, the
// animation, snapping, the time signal, the timer, caption timings, the adjustment request's
// ports, time-outs and offsets, the exclusion list...) mark no part. No setting changes the tick
// period: it comes from the timer device alone.
struct SettingsChanges {
    bool GlyphStrip = false;     // the digit images (BuildDigitImages)
    bool WindowSize = false;     // the face's cell count, cell size, spacing or margins
    bool Background = false;     // the background bitmap behind the digits
    bool KeyColours = false;     // the clock key and hole colours, and the window's colour key
    bool TimeFormat = false;     // the display pattern built from the Format keys
    bool Opacity = false;        // the clock's constant alpha, applied when the face is pushed
    bool Visibility = false;     // the show/hide inputs: the forced show and a pending hide are settled
    bool ClickThrough = false;   // the clock window's click-through style
    bool Stacking = false;       // the clock's and the overlays' place in the z-order
    bool TrayIcon = false;       // the notification-area icon on or off
    bool ToolTips = false;       // the clock's and the icon's tooltip texts
    bool TaskbarClock = false;   // hiding the taskbar's own clock
    bool Menu = false;           // the popup menu's look, visible commands and check marks
    bool CallSigns = false;      // the call-sign windows (RebuildCallSigns)
    bool Logos = false;          // the logo windows (RebuildLogos)
    bool TestPattern = false;    // the texts of open test-pattern windows
    bool Calendar = false;       // an open calendar window
    bool AdjustSchedule = false; // when and from where the clock is set automatically
    bool Priority = false;       // the process priority class

    bool Any() const { return *this != SettingsChanges{}; }
    bool operator==(const SettingsChanges&) const = default;
};

SettingsChanges CompareSettings(const Settings& before, const Settings& after);

} // namespace lumora
