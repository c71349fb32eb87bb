#include "tray/TrayRules.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr size_t ModernTipLength = 127;
constexpr size_t OldTipLength = 63;
constexpr size_t BalloonTitleLength = 63;
constexpr size_t BalloonBodyLength = 255;

std::wstring OneLine(std::wstring text) {
    std::replace(text.begin(), text.end(), L'\r', L' ');
    std::replace(text.begin(), text.end(), L'\n', L' ');
    return text;
}

std::wstring Cut(std::wstring text, size_t length) {
    if (text.size() > length) {
        text.resize(length);
    }
    return text;
}

NotifyIcon IconOfKind(int kind) {
    switch (kind) {
    case 1:
        return NotifyIcon::Information;
    case 2:
        return NotifyIcon::Exclamation;
    case 3:
        return NotifyIcon::Error;
    default:
        return NotifyIcon::None;
    }
}

} // namespace

void IconAddTries::Begin() {
    state_ = State::Waiting;
    failed_ = 0;
}

std::optional<uint32_t> IconAddTries::Tried(bool added) {
    if (state_ != State::Waiting) {
        return std::nullopt;
    }
    if (added) {
        state_ = State::Added;
        return std::nullopt;
    }
    if (failed_ == Waits.size()) {
        state_ = State::Idle;
        return std::nullopt;
    }
    return Waits[failed_++];
}

void IconAddTries::End() {
    state_ = State::Idle;
    failed_ = 0;
}

int SmallIconSize(int dpi) {
    constexpr int BaseSize = 16;
    constexpr int BaseDpi = 96;
    if (dpi <= BaseDpi) {
        return BaseSize;
    }
    return (BaseSize * dpi + BaseDpi / 2) / BaseDpi;
}

IconEvent IconClickTracker::Feed(IconMouse message) {
    switch (message) {
    case IconMouse::LeftDown:
        leftDown_ = true;
        return IconEvent::None;
    case IconMouse::LeftUp:
        if (!leftDown_) {
            return IconEvent::None;
        }
        leftDown_ = false;
        doubleClicking_ = false;
        return IconEvent::Click;
    case IconMouse::RightUp:
        return IconEvent::ContextMenu;
    case IconMouse::LeftDouble:
    case IconMouse::RightDouble:
    case IconMouse::MiddleDouble:
        if (doubleClicking_) {
            return IconEvent::None;
        }
        doubleClicking_ = true;
        return message == IconMouse::LeftDouble ? IconEvent::DoubleClick : IconEvent::None;
    case IconMouse::BalloonClick:
        return IconEvent::BalloonClick;
    case IconMouse::Other:
        break;
    }
    return IconEvent::None;
}

std::wstring IconTipText(const std::wstring& hint, int shellMajorVersion, bool balloonsAvailable) {
    return Cut(shellMajorVersion < 5 ? OneLine(hint) : hint, balloonsAvailable ? ModernTipLength : OldTipLength);
}

BalloonText MakeBalloonText(const std::wstring& title, const std::wstring& body) {
    return {Cut(OneLine(title), BalloonTitleLength), Cut(body, BalloonBodyLength)};
}

bool BalloonsAvailable(const BalloonFacts& facts) {
    if (facts.ShellMajorVersion < 5 || !facts.NotificationAreaExists || facts.NoTrayItemsDisplay.value_or(0) != 0) {
        return false;
    }
    return facts.ShellMajorVersion < 6 || facts.EnableBalloonTips.value_or(1) != 0;
}

NotificationStyle ChooseNotificationStyle(int balloonKind, int beepKind) {
    NotificationStyle style;
    style.BalloonIcon = IconOfKind(balloonKind);
    style.Beep = IconOfKind(beepKind);
    style.BoxSilent = style.Beep == NotifyIcon::None;
    style.BoxIcon = style.BoxSilent ? NotifyIcon::Information : style.Beep;
    return style;
}

void TaskbarClockKeeper::Observe(bool visibleNow) {
    visible_ = visibleNow;
}

bool TaskbarClockKeeper::Hide(bool visibleNow) {
    visible_ = visibleNow;
    if (!visibleNow) {
        return false;
    }
    hiddenByUs_ = true;
    return true;
}

bool TaskbarClockKeeper::Restore() {
    if (!hiddenByUs_) {
        return false;
    }
    hiddenByUs_ = false;
    visible_ = true;
    return true;
}

} // namespace lumora
