#pragma once
// The clock on the desktop: its window, its face and when it shows. The master hands it each
// pass's time and the system facts; it decides whether it is on screen, draws the face with its
// transitions, follows the mouse and pushes the picture. It also carries out the commands that
// move or restack the clock window.

#include "clock/SystemFacts.h"
#include "clock/ClockFace.h"
#include "clock/DateTime.h"
#include "clock/PassContext.h"
#include "clock/LumoraForm.h"
#include "clock/Visibility.h"
#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

#include <memory>
#include <optional>
#include <string>

namespace lumora {

class ClockDisplay {
public:
    // settings: the master's record, read on every pass. Null when the window cannot be created.
    static std::unique_ptr<ClockDisplay> Create(HWND master, const Settings& settings, bool layered,
                                                ClockWindowEvents events);

    HWND Window() const { return window_->Handle(); }
    bool Shown() const { return window_->Shown(); }
    // Passes that drew every cell anew (the first one, and those asked for after a resume or a
    // change of the display) since the window was made.
    int FullRedraws() const { return fullRedraws_; }

    // What the settings and the system's colours make of the time format and the key colours:
    // again after every change of either.
    void Rederive(const SystemColourTable& colours) { derived_ = DeriveSettings(settings_, colours); }
    // Rebuilds the glyph strip and the background picture from the design settings.
    void BuildDigitImages(const SystemFacts& facts);
    // Takes over what the clock window reads of the settings, its stacking mode included.
    void ApplyWindowSettings();
    // The stacking mode of the settings, applied to the clock window again.
    void ApplyStacking();
    // Click-through as the on-mouse behaviour says.
    void ApplyClickThrough();
    // After new settings: the forced show ends and a pending hide may complete.
    void SettleVisibility() { visibility_.Settle(); }

    // Once per displayed second: the tooltip text, unless the mouse hid the clock.
    void RefreshHint(double displayed, const DateTimeParts& parts, const LocaleFacts& locale);
    // True on the one pass of a temporary-display minute whose time, moved by its timing, falls
    // in second 0.
    bool TemporaryDisplayDue(double displayed, const DateTimeParts& parts);
    // Show or hide for this pass; the command is applied at the end of Render.
    VisibilityDecision DecideVisibility(const PassContext& pass, bool telopShowing, bool taskbarClockWasVisible);
    // Text, face and transitions, hide completion, the mouse, the push and the show command.
    void Render(const PassContext& pass, const SystemFacts& facts);

    // Off the screen at once, outside the pass: a caption takes the clock's place.
    void HideNow();

    // The clock stays on screen for AutoHideTime seconds from now (a click, a temporary minute).
    void StartForcedShow(HWND timerWindow, UINT_PTR timerId);
    // The forced-show timer's tick; false once the period is over and the timer must stop.
    bool ForcedShowTick();

    void ArrangeCorner(Corner corner);
    void KeyMove();
    // Whether the always-in-front mode has idle work, and doing it.
    bool KeepsInFront() const;
    void KeepInFront();
    // Where the clock stands now, once it has been shown; written to the settings at exit.
    std::optional<ScreenPoint> SavedPosition() const;

private:
    ClockDisplay(const Settings& settings, bool layered) : settings_(settings), layered_(layered) {}
    FaceContext CurrentFaceContext(const SystemFacts& facts) const;
    void PaintFace(const std::wstring& text, int widthInCells, bool fullRedraw, const SystemFacts& facts);
    void PushFace(bool fullRedraw, int colourDepth);
    std::optional<int> ApplyMouseBehaviour(bool fullRedraw);

    const Settings& settings_;
    DerivedSettings derived_;
    bool layered_;
    std::unique_ptr<TLumoraForm> window_;
    ClockFace face_;
    Visibility visibility_;
    std::wstring previousText_;
    int fullRedraws_ = 0;
    std::wstring hint_;
    std::optional<int> showCommand_; // chosen by the visibility decision, applied after the push
    int lastHintSecond_ = -1;
    bool temporaryDisplayArmed_ = false;
    HWND lastTopWindow_ = nullptr;
};

} // namespace lumora
