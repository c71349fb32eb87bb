#include "clock/Visibility.h"

#include <algorithm>

namespace lumora {

int VisibleHoursEntry(const std::array<uint8_t, MinutesPerWeek>& hours, int dayOfWeek, int hour, int minute) {
    const int index = dayOfWeek * 1440 + hour * 60 + minute;
    if (index < 0 || index >= MinutesPerWeek) {
        return EntryShown; // as a missing digit
    }
    const int entry = hours[static_cast<size_t>(index)];
    return entry == EntryShown || entry == EntryTemporary ? entry : EntryHidden;
}

ShortcutKeys SplitShortcut(int shortcut) {
    return {shortcut & 0x1FFF, (shortcut & 0x2000) != 0, (shortcut & 0x4000) != 0, (shortcut & 0x8000) != 0};
}

bool CursorNear(ScreenPoint cursor, const ScreenRect& window, int threshold) {
    return cursor.X >= window.Left - threshold && cursor.X < window.Right + threshold &&
           cursor.Y >= window.Top - threshold && cursor.Y < window.Bottom + threshold;
}

Hole HoleAround(ScreenPoint clientCursor, int size) {
    size = std::max(size, 0);
    const int half = size / 2;
    return {{clientCursor.X - half, clientCursor.Y - half, size, size},
            size < 3 ? HoleShape::Rectangle : HoleShape::Ellipse};
}

bool Visibility::ForcedShowTick(int autoHideTime) {
    // A tick that arrives after the period ended must not start another one.
    if (forcedShowCounter_ == 0 || forcedShowCounter_ > static_cast<uint32_t>(std::max(autoHideTime, 0)) * 100u) {
        forcedShowCounter_ = 0;
        return true;
    }
    ++forcedShowCounter_;
    return false;
}

void Visibility::Settle() {
    forcedShowCounter_ = 0;
    if (hideRequested_) {
        hideReady_ = true;
    }
}

void Visibility::StartForcedShow() {
    hideRequested_ = false;
    hideReady_ = false;
    forcedShowCounter_ = 1;
}

bool Visibility::KeyActive(bool keyHeld, int visibleChangeKey, bool momentary) {
    const bool held = keyHeld && visibleChangeKey != 0;
    if (held && !keyWasHeld_) {
        keyToggle_ = !keyToggle_;
    }
    keyWasHeld_ = held;
    keyActive_ = momentary ? held : visibleChangeKey != 0 && keyToggle_;
    return keyActive_;
}

VisibilityDecision Visibility::Decide(const VisibilityInput& input) {
    VisibilityDecision d;
    const bool inHours = input.Entry == EntryShown;
    const bool shownByKeyNow = !inHours && keyActive_;
    hiddenByKeyNow_ = inHours && keyActive_;
    const bool wanted = (inHours || forcedShowCounter_ > 0 || shownByKeyNow) && !hiddenByKeyNow_;
    const bool taskbarClock = input.HideTaskTrayClock && input.TaskbarClockWasVisible;
    if (wanted) {
        // Wanted again before a hide played out: the digits come back instead of staying blank.
        hideRequested_ = false;
        hideReady_ = false;
        if (!input.Shown && ((!mouseHidden_ && !input.TelopShowing) || shownByKeyNow)) {
            shownByKey_ = shownByKeyNow;
            d.Action = VisibilityAction::Show;
            d.FirstShow = !input.ShownOnce;
            d.ClickThrough = input.OnMouseHideType != OnMouseNone;
            d.HideTaskbarClock = taskbarClock;
            d.NeedsUpdate = true;
            hiddenByKey_ = false;
        }
        return d;
    }
    hiddenByKey_ = hiddenByKeyNow_;
    if (!input.Shown) {
        return d;
    }
    if (hideReady_) {
        d.Action = VisibilityAction::HideNow;
        d.RestoreTaskbarClock = taskbarClock;
        hideReady_ = false;
        hideRequested_ = false;
        shownByKey_ = false;
    } else {
        hideRequested_ = true;
        d.Action = VisibilityAction::RequestHide;
    }
    return d;
}

bool Visibility::HideTextWanted(int animationType) const {
    return hideRequested_ && !hiddenByKeyNow_ && !shownByKey_ && IsAnimated(animationType);
}

void Visibility::CheckHideReady(int animationType, const CellAnimation& cells) {
    if (!hideRequested_) {
        return;
    }
    if (!IsAnimated(animationType) || shownByKey_ || hiddenByKey_) {
        hideReady_ = true;
    } else if (!hideReady_ && cells.ReachedHidePoint(animationType)) {
        hideReady_ = true;
    }
}

MouseDecision Visibility::ApplyMouse(const MouseInput& input) {
    MouseDecision d;
    const int type = input.OnMouseHideType;
    if (type != OnMouseHideAway) {
        // Left over from the hide type, it would keep the clock away for good.
        mouseHidden_ = false;
    }
    const bool suspended =
        type == OnMouseNone || (!mouseHidden_ && (input.CapturedWithLeftButton || input.AbortKeyDown || input.Moving));
    if (holeDrawn_ && (suspended || type != OnMouseHole)) {
        d.RemoveHole = true;
        d.NeedsUpdate = true;
        holeDrawn_ = false;
    }
    if (suspended) {
        d.ClickThrough = false;
        return d;
    }
    d.ClickThrough = true;
    if (type == OnMouseHideAway) {
        if (input.AbortKeyDown) {
            mouseHidden_ = false;
        } else {
            mouseHidden_ = CursorNear(input.Cursor, input.Window, input.Threshold);
            d.HideNow = mouseHidden_ && input.Shown && !input.HintVisible;
        }
    } else if (type == OnMouseHole) {
        if (input.Shown && (input.Cursor != holePosition_ || input.FullRedraw || input.NeedsUpdate || !holeDrawn_)) {
            holePosition_ = input.Cursor;
            d.DrawHole =
                HoleAround({input.Cursor.X - input.Window.Left, input.Cursor.Y - input.Window.Top}, input.HoleSize);
            d.RestoreBrush = input.BackGroundType != 0 || !input.Layered;
            d.NeedsUpdate = true;
            holeDrawn_ = true;
        }
    }
    return d;
}

} // namespace lumora
