#pragma once
// The program's side of the notification area: the icon with its tooltip and clicks, the
// taskbar's own clock while ours is on screen, and the notifications shown as balloons or
// message boxes.

#include "clock/DateTime.h"
#include "clock/DateTimeFormat.h"
#include "settings/Settings.h"
#include "tray/TaskTrayIcon.h"
#include "tray/TrayRules.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {

struct NotificationAreaEvents {
    std::function<void()> Click;
    std::function<void()> DoubleClick;
    std::function<void()> BalloonClick;
    std::function<void()> Recreated;
    // The right button: the popup menu at the cursor.
    std::function<void(POINT)> ContextMenu;
    // A single click that no double click followed.
    std::function<void()> SingleClick;
};

class NotificationArea {
public:
    // timerWindow and singleClickTimer: the window timer that waits out a double click.
    NotificationArea(const Settings& settings, HWND timerWindow, UINT_PTR singleClickTimer,
                     NotificationAreaEvents events);
    ~NotificationArea();
    NotificationArea(const NotificationArea&) = delete;
    NotificationArea& operator=(const NotificationArea&) = delete;

    // Adds or removes the icon as TaskTrayIcon says; the icon is not shown before the first call.
    void ApplyIconSetting();
    // Only once the shell took it: until then notifications come as message boxes.
    bool IconShown() const { return icon_ && icon_->Shown(); }
    bool IconAddPending() const { return icon_ && icon_->AddPending(); }
    int IconWidth() const { return icon_ ? icon_->IconWidth() : 0; }
    // Once per displayed second while the icon is shown.
    void RefreshTip(double displayed, const DateTimeParts& parts, const LocaleFacts& locale);

    // A click on the icon may become a single click once the double-click time is over.
    void AwaitSingleClick();
    void SingleClickTimerFired();

    // text is "title|body"; the kinds are those of the results and signals (1 information,
    // 2 exclamation, 3 error). clockWindow never owns a message box.
    void ShowNotification(const std::wstring& text, int balloonKind, int beepKind, HWND clockWindow);

    // The taskbar's clock while HideTaskTrayClock is on; a taskbar without one (Windows 11's)
    // offers nothing to hide.
    bool TaskbarClockFound() const { return TaskbarClockWindow() != nullptr; }
    bool TaskbarClockWasVisible() const { return taskbarClock_.WasVisible(); }
    void HideTaskbarClock();
    void RestoreTaskbarClock();
    // After the computer's clock was set: the taskbar's clock redraws on its timer.
    void RedrawTaskbarClock() const;
    // After a settings change or an Explorer restart: look again, and hide it again while the
    // clock is shown.
    void RecheckTaskbarClock(bool clockShown);

private:
    HWND TaskbarClockWindow() const;

    const Settings& settings_;
    HWND timerWindow_;
    UINT_PTR singleClickTimer_;
    NotificationAreaEvents events_;
    std::unique_ptr<TKZTaskTrayIcon> icon_;
    TaskbarClockKeeper taskbarClock_;
    int lastTipSecond_ = -1;
    bool singleClickPending_ = false;
};

} // namespace lumora
