#include "tray/NotificationArea.h"

#include "shell/Application.h"
#include "shell/MessageBoxes.h"
#include "clock/SystemFigures.h"
#include "clock/TooltipFormat.h"

#include <utility>

namespace lumora {
namespace {

constexpr size_t MaxIconTipLength = 255;

BalloonType BalloonTypeOf(NotifyIcon icon) {
    switch (icon) {
    case NotifyIcon::Information:
        return BalloonType::Information;
    case NotifyIcon::Exclamation:
        return BalloonType::Exclamation;
    case NotifyIcon::Error:
        return BalloonType::Error;
    case NotifyIcon::None:
        break;
    }
    return BalloonType::None;
}

UINT MessageBoxIconOf(NotifyIcon icon) {
    switch (icon) {
    case NotifyIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case NotifyIcon::Error:
        return MB_ICONHAND;
    case NotifyIcon::Information:
    case NotifyIcon::None:
        break;
    }
    return MB_ICONASTERISK;
}

// A message box makes the sound of its icon; a system icon shown as the box's own icon makes
// none.
void SilentInformationBox(HWND owner, const std::wstring& body, const std::wstring& title) {
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner;
    params.hInstance = nullptr;
    params.lpszText = body.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = MB_OK | MB_USERICON | UnaskedBoxFlags;
    params.lpszIcon = IDI_INFORMATION;
    MessageBoxIndirectW(&params);
}

} // namespace

NotificationArea::NotificationArea(const Settings& settings, HWND timerWindow, UINT_PTR singleClickTimer,
                                   NotificationAreaEvents events)
    : settings_(settings), timerWindow_(timerWindow), singleClickTimer_(singleClickTimer), events_(std::move(events)) {
    icon_ = TKZTaskTrayIcon::Create();
    if (!icon_) {
        return;
    }
    icon_->OnClick = [this] {
        if (events_.Click)
            events_.Click();
    };
    icon_->OnDblClick = [this] {
        singleClickPending_ = false;
        if (events_.DoubleClick)
            events_.DoubleClick();
    };
    icon_->OnContextPopup = [this](POINT cursor) {
        if (events_.ContextMenu)
            events_.ContextMenu(cursor);
    };
    icon_->OnBalloonClick = [this] {
        if (events_.BalloonClick)
            events_.BalloonClick();
    };
    icon_->OnRecreate = [this] {
        if (events_.Recreated)
            events_.Recreated();
    };
    const HWND clock = TaskbarClockWindow();
    taskbarClock_.Observe(clock != nullptr && IsWindowVisible(clock));
    // An error that ends the program must not leave the taskbar without its clock, nor a dead
    // icon in the notification area.
    SetFatalExitAction([this] {
        RestoreTaskbarClock();
        icon_->SetEnabled(false);
    });
}

NotificationArea::~NotificationArea() {
    SetFatalExitAction({});
    RestoreTaskbarClock();
    KillTimer(timerWindow_, singleClickTimer_);
}

void NotificationArea::ApplyIconSetting() {
    if (icon_) {
        icon_->SetEnabled(settings_.View.TaskTrayIcon);
    }
}

void NotificationArea::RefreshTip(double displayed, const DateTimeParts& parts, const LocaleFacts& locale) {
    if (parts.Second == lastTipSecond_) {
        return;
    }
    lastTipSecond_ = parts.Second;
    // An icon still waiting for the shell gets the tip it will be added with.
    if (!settings_.View.TaskTrayIcon || !icon_ || !icon_->Enabled()) {
        return;
    }
    std::wstring tip = ExpandFormatNow(settings_.View.TaskTrayToolTipFormat, displayed, locale);
    if (tip.size() > MaxIconTipLength) {
        tip.resize(MaxIconTipLength);
    }
    icon_->SetHint(tip);
}

void NotificationArea::AwaitSingleClick() {
    if (singleClickPending_) {
        return;
    }
    singleClickPending_ = true;
    SetTimer(timerWindow_, singleClickTimer_, GetDoubleClickTime(), nullptr);
}

void NotificationArea::SingleClickTimerFired() {
    KillTimer(timerWindow_, singleClickTimer_);
    if (std::exchange(singleClickPending_, false) && events_.SingleClick) {
        events_.SingleClick();
    }
}

void NotificationArea::ShowNotification(const std::wstring& text, int balloonKind, int beepKind, HWND clockWindow) {
    const NotificationText parts = SplitNotification(text);
    const NotificationStyle style = ChooseNotificationStyle(balloonKind, beepKind);
    if (IconShown() && icon_->BalloonsAvailable()) {
        icon_->ShowBalloon(parts.Title, parts.Body, BalloonTypeOf(style.BalloonIcon));
        if (style.Beep != NotifyIcon::None) {
            MessageBeep(MessageBoxIconOf(style.Beep));
        }
        return;
    }
    const HWND owner = MessageBoxOwner(clockWindow);
    if (style.BoxSilent) {
        SilentInformationBox(owner, parts.Body, parts.Title);
    } else {
        MessageBoxW(owner, parts.Body.c_str(), parts.Title.c_str(), MessageBoxIconOf(style.BoxIcon) | UnaskedBoxFlags);
    }
}

HWND NotificationArea::TaskbarClockWindow() const {
    return icon_ ? icon_->TaskbarClockWindow() : nullptr;
}

void NotificationArea::HideTaskbarClock() {
    const HWND clock = TaskbarClockWindow();
    if (clock != nullptr && taskbarClock_.Hide(IsWindowVisible(clock) != FALSE)) {
        ShowWindow(clock, SW_HIDE);
        RefreshNotificationArea();
    }
}

void NotificationArea::RedrawTaskbarClock() const {
    if (const HWND clock = TaskbarClockWindow()) {
        PostMessageW(clock, WM_TIMER, 0, 0);
    }
}

void NotificationArea::RestoreTaskbarClock() {
    const HWND clock = TaskbarClockWindow();
    if (clock != nullptr && taskbarClock_.Restore()) {
        ShowWindow(clock, SW_SHOWNA);
        RefreshNotificationArea();
    }
}

void NotificationArea::RecheckTaskbarClock(bool clockShown) {
    if (settings_.View.HideTaskTrayClock) {
        const HWND clock = TaskbarClockWindow();
        const bool visible = clock != nullptr && IsWindowVisible(clock);
        taskbarClock_.Observe(visible);
        if (visible && clockShown) {
            HideTaskbarClock();
        }
    }
    RefreshNotificationArea();
}

} // namespace lumora
