// The master window's side of the notification-area icon and of the sound player.

#include "app/MasterForm.h"

#include "shell/TooltipFormat.h"

#include <mmsystem.h>

#include <stdexcept>
#include <utility>

namespace lumora {
namespace {

constexpr size_t MaxIconTipLength = 255;

// Commands the end-to-end tests send with WM_COPYDATA; only honoured when the tests ask for
// them through the environment.
enum TestCommandId : ULONG_PTR { PlaySound = 1, QuerySoundPlaying = 2, ArrangeCornerAction = 3, StackingAction = 4 };

} // namespace

void TMasterForm::CreateTaskTrayIcon() {
    trayIcon_ = TKZTaskTrayIcon::Create();
    if (!trayIcon_) {
        return;
    }
    trayIcon_->OnClick = [this] { TaskTrayIconClick(ClickSender::Icon); };
    trayIcon_->OnDblClick = [this] { TaskTrayIconDblClick(); };
    trayIcon_->OnBalloonClick = [this] { TaskTrayIconBalloonClick(); };
    trayIcon_->OnRecreate = [this] { TaskTrayIconRecreate(); };
    trayIcon_->SetEnabled(settings_.View.TaskTrayIcon);
    HWND taskbarClock = trayIcon_->TaskbarClockWindow();
    taskbarClockWasVisible_ = taskbarClock != nullptr && IsWindowVisible(taskbarClock);
}

void TMasterForm::StopSounds() {
    // The time-signal chain ends with the sound.
    sound_->CloseDevice();
    if (sound_->CaptionButton() == Handle()) {
        sound_->ClearCaptionButton();
    }
}

void TMasterForm::CreateClockWindow() {
    ClockWindowEvents events;
    events.Click = [this] { TaskTrayIconClick(ClickSender::Clock); };
    events.DoubleClick = [this] { ShowOptionsRequested(); };
    events.MouseEntered = [this] {
        if (tick_) {
            PostMessageW(Handle(), tick_->Message(), 0, 0);
        }
    };
    events.PopupMenu = [](POINT) {}; // the popup menu comes with the master's actions
    events.HintText = [this] { return clockHint_; };
    clock_ = TLumoraForm::Create(Handle(), ClockWindowOptionsFrom(settings_), std::move(events));
    if (!clock_) {
        throw std::runtime_error("the clock window could not be created");
    }
}

void TMasterForm::TaskTrayIconClick(ClickSender sender) {
    const bool fromIcon = sender == ClickSender::Icon;
    const bool soundWasPlaying = sound_->Playing();
    StopSounds();
    // Within a pass (the temporary display) that pass goes on and shows the clock itself.
    if (!inPass_) {
        UpdateClock(sender != ClickSender::Clock && !telopShowing_);
    }
    if (fromIcon && clock_) {
        SetForegroundWindow(clock_->Handle());
    }
    StartForcedShow();
    if (fromIcon && settings_.View.ShowCalendar && !singleClickPending_ && !soundWasPlaying) {
        singleClickPending_ = true;
        SetTimer(Handle(), SingleClickTimer, GetDoubleClickTime(), nullptr);
    }
}

void TMasterForm::TimerMessage(WPARAM id) {
    if (id == ForcedShowTimer) {
        ForcedShowTick();
    } else if (id == SingleClickTimer) {
        KillTimer(Handle(), id);
        singleClickPending_ = false; // the calendar opens here once it exists
    }
}

void TMasterForm::TaskTrayIconDblClick() {
    singleClickPending_ = false;
    ShowOptionsRequested();
}

void TMasterForm::TaskTrayIconBalloonClick() {
    StopSounds();
}

void TMasterForm::TaskTrayIconRecreate() {
    if (settings_.View.HideTaskTrayClock && trayIcon_) {
        HWND taskbarClock = trayIcon_->TaskbarClockWindow();
        taskbarClockWasVisible_ = taskbarClock != nullptr && IsWindowVisible(taskbarClock);
        if (taskbarClockWasVisible_ && clock_ && clock_->Shown()) {
            ShowWindow(taskbarClock, SW_HIDE);
        }
    }
    RefreshNotificationArea();
}

std::wstring TMasterForm::ExpandFormat(const std::wstring& format, double displayed) const {
    SystemFigures figures;
    figures.MillisecondsSinceStart = timeGetTime();
    figures.Memory = [] {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        GlobalMemoryStatusEx(&status);
        return MemoryFigures{status.ullTotalPhys,    status.ullAvailPhys,     status.ullTotalVirtual,
                             status.ullAvailVirtual, status.ullTotalPageFile, status.ullAvailPageFile};
    };
    figures.Power = []() -> std::optional<PowerStatus> {
        SYSTEM_POWER_STATUS status{};
        if (!GetSystemPowerStatus(&status)) {
            return std::nullopt;
        }
        return PowerStatus{status.ACLineStatus, status.BatteryFlag, status.BatteryLifePercent};
    };
    return ExpandTooltipFormat(format, displayed, figures, locale_);
}

// Once per displayed second: the clock's own tooltip and the icon's.
void TMasterForm::RefreshToolTips(double displayed, const DateTimeParts& parts) {
    if (parts.Second == lastToolTipSecond_) {
        return;
    }
    lastToolTipSecond_ = parts.Second;
    if (settings_.View.ToolTipStyle > 0 && !visibility_.MouseHidden()) {
        clockHint_ = ExpandFormat(settings_.View.ToolTipFormat, displayed);
    }
    if (settings_.View.TaskTrayIcon && trayIcon_ && trayIcon_->Enabled()) {
        std::wstring tip = ExpandFormat(settings_.View.TaskTrayToolTipFormat, displayed);
        if (tip.size() > MaxIconTipLength) {
            tip.resize(MaxIconTipLength);
        }
        trayIcon_->SetHint(tip);
    }
}

// Announces a result or a signal: a balloon at the icon where the shell offers them, else a
// message box. text is "title|body".
void TMasterForm::ShowNotification(const std::wstring& text, int balloonKind, int beepKind) {
    const NotificationText parts = SplitNotification(text);
    UINT beep = 0;
    switch (beepKind) {
    case 1:
        beep = MB_ICONASTERISK;
        break;
    case 2:
        beep = MB_ICONEXCLAMATION;
        break;
    case 3:
        beep = MB_ICONHAND;
        break;
    default:
        break;
    }
    if (trayIcon_ && trayIcon_->Enabled() && trayIcon_->BalloonsAvailable()) {
        static constexpr BalloonType Types[] = {BalloonType::None, BalloonType::Information, BalloonType::Exclamation,
                                                BalloonType::Error};
        trayIcon_->ShowBalloon(parts.Title, parts.Body,
                               balloonKind >= 1 && balloonKind <= 3 ? Types[balloonKind] : BalloonType::None);
        if (beep != 0) {
            MessageBeep(beep);
        }
        return;
    }
    HWND owner = GetActiveWindow();
    if (owner == nullptr || (clock_ && owner == clock_->Handle()) || !IsWindowVisible(owner)) {
        owner = nullptr;
    }
    MessageBoxW(owner, parts.Body.c_str(), parts.Title.c_str(), beep != 0 ? beep : MB_ICONINFORMATION);
}

void TMasterForm::SoundNotify(WPARAM flags, LPARAM) {
    // A failed play also ends: left open, the device would count as playing for ever.
    if (flags != MCI_NOTIFY_SUCCESSFUL && flags != MCI_NOTIFY_FAILURE) {
        return;
    }
    sound_->CloseDevice();
    if (sound_->CaptionButton() == Handle()) {
        sound_->ClearCaptionButton();
    }
}

void TMasterForm::TestPlay() {
    const std::wstring text = std::exchange(pendingTestPlay_, L"");
    if (!text.empty()) {
        sound_->Play(Handle(), Handle(), text.substr(2), text[0] == L'1', false);
    }
}

LRESULT TMasterForm::TestCommand(const COPYDATASTRUCT& data) {
    switch (data.dwData) {
    case PlaySound: {
        // "<interactive 0|1>|<file>", played after this message returns: an error message box
        // must not keep the sender waiting.
        const std::wstring text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
        if (text.size() < 2 || text[1] != L'|') {
            return FALSE;
        }
        pendingTestPlay_ = text;
        PostMessageW(Handle(), TestPlayMessage, 0, 0);
        return TRUE;
    }
    case QuerySoundPlaying:
        return sound_->Playing() ? TRUE : FALSE;
    case ArrangeCornerAction:
    case StackingAction: {
        // The action's number as text: a corner 0-3, or a stacking mode 0-3.
        const std::wstring text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
        if (text.size() != 1 || text[0] < L'0' || text[0] > L'3') {
            return FALSE;
        }
        const int value = text[0] - L'0';
        if (data.dwData == ArrangeCornerAction) {
            ArrangeCorner(static_cast<Corner>(value));
        } else {
            ZOrderAction(static_cast<StackingMode>(value));
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace lumora
