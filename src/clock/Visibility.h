#pragma once
// When the clock is on screen: the week table of visible minutes, the forced-show period, the
// visibility-change key, the caption window, hides that wait for the digits to animate away, and
// what the clock does when the mouse comes near. The shell reads the keys, the cursor and the
// windows, and applies what the decisions say.

#include "shell/ScreenGeometry.h"
#include "clock/CellAnimation.h"
#include "clock/FaceComposer.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lumora {

constexpr int EntryHidden = 0;
constexpr int EntryShown = 1;
constexpr int EntryTemporary = 2;

// The visible-hours entry of a minute of the week (day 0 = Monday): 0, 1 or 2; any other digit
// counts as hidden.
int VisibleHoursEntry(const std::array<uint8_t, MinutesPerWeek>& hours, int dayOfWeek, int hour, int minute);

// A shortcut value: bits 0-12 the virtual key, then Shift, Ctrl and Alt.
struct ShortcutKeys {
    int VirtualKey = 0;
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;

    bool operator==(const ShortcutKeys&) const = default;
};

ShortcutKeys SplitShortcut(int shortcut);

constexpr int OnMouseNone = 0;
constexpr int OnMouseHideAway = 1;
constexpr int OnMouseHole = 2;
constexpr int OnMousePassClicks = 3;

struct VisibilityInput {
    int Entry = EntryShown; // VisibleHoursEntry of the displayed minute
    bool Shown = false;     // the clock window is meant to be on screen
    bool ShownOnce = false;
    bool TelopShowing = false;
    int OnMouseHideType = OnMouseNone;
    bool HideTaskTrayClock = false;
    bool TaskbarClockWasVisible = false;
};

enum class VisibilityAction {
    None,
    Show,        // SW_SHOWNA and mark shown
    HideNow,     // SW_HIDE and mark not shown
    RequestHide, // let the digits animate away first
};

struct VisibilityDecision {
    VisibilityAction Action = VisibilityAction::None;
    bool FirstShow = false;           // run the first-show placement; overlays are pending
    std::optional<bool> ClickThrough; // SetClickThrough when set
    bool HideTaskbarClock = false;    // note its visibility, hide it, refresh the tray if it was visible
    bool RestoreTaskbarClock = false; // note its visibility, show it, refresh the tray if it was not
    bool NeedsUpdate = false;

    bool operator==(const VisibilityDecision&) const = default;
};

// The cursor counts as near inside the window grown by threshold on every side.
bool CursorNear(ScreenPoint cursor, const ScreenRect& window, int threshold);

enum class HoleShape { Rectangle, Ellipse };

struct Hole {
    Rect Area; // client coordinates
    HoleShape Shape = HoleShape::Ellipse;

    bool operator==(const Hole&) const = default;
};

// The hole of diameter size around the cursor, given in client coordinates.
Hole HoleAround(ScreenPoint clientCursor, int size);

struct MouseInput {
    int OnMouseHideType = OnMouseNone;
    int Threshold = 0;
    int HoleSize = 0;
    bool CapturedWithLeftButton = false;
    bool AbortKeyDown = false;
    bool Moving = false;
    ScreenPoint Cursor;
    ScreenRect Window;
    bool Shown = false;
    bool HintVisible = false;
    bool FullRedraw = false;
    bool NeedsUpdate = false;
    bool Layered = true;
    int BackGroundType = 0;
};

struct MouseDecision {
    bool ClickThrough = false;    // SetClickThrough with this value
    bool HideNow = false;         // SW_HIDE without animation, mark not shown
    bool RemoveHole = false;      // transparent colour back to the clock key colour
    std::optional<Hole> DrawHole; // brush and pen black (layered) or hole colour; transparent colour = hole colour
    bool RestoreBrush = false;    // after the hole: brush and pen back to the clock key colour
    bool NeedsUpdate = false;

    bool operator==(const MouseDecision&) const = default;
};

class Visibility {
public:
    // The 10 ms forced-show timer. Returns true when the period is over and the timer must stop.
    bool ForcedShowTick(int autoHideTime);
    // A click or the temporary display: cancels a pending hide; the shell (re)starts the timer.
    void StartForcedShow();
    // New settings: the forced show ends and a pending hide may complete at once.
    void Settle();

    // Once per pass with the state of the key combination. Returns whether the key is active.
    bool KeyActive(bool keyHeld, int visibleChangeKey, bool momentary);

    // Show or hide for this pass, after KeyActive.
    VisibilityDecision Decide(const VisibilityInput& input);

    // The text becomes blanks so every digit animates away.
    bool HideTextWanted(int animationType) const;

    // After the cells were drawn: whether the hide can complete in the next pass.
    void CheckHideReady(int animationType, const CellAnimation& cells);

    // After the hide check: click-through, hiding on approach, the hole.
    MouseDecision ApplyMouse(const MouseInput& input);

    uint32_t ForcedShowCounter() const { return forcedShowCounter_; }
    bool HideRequested() const { return hideRequested_; }
    bool HideReady() const { return hideReady_; }
    bool MouseHidden() const { return mouseHidden_; }
    bool ShownByKey() const { return shownByKey_; }
    bool HiddenByKey() const { return hiddenByKey_; }
    bool HoleDrawn() const { return holeDrawn_; }

private:
    uint32_t forcedShowCounter_ = 0;
    bool keyToggle_ = false;
    bool keyWasHeld_ = false;
    bool keyActive_ = false;
    bool shownByKey_ = false;
    bool hiddenByKey_ = false;
    bool hiddenByKeyNow_ = false;
    bool hideRequested_ = false;
    bool hideReady_ = false;
    bool mouseHidden_ = false;
    bool holeDrawn_ = false;
    ScreenPoint holePosition_;
};

} // namespace lumora
