// The master window's side of the notification-area icon and of the sound player.

#include "app/MasterForm.h"

#include <mmsystem.h>

#include <utility>

namespace lumora {
namespace {

constexpr UINT_PTR SingleClickTimer = 2;

// Commands the end-to-end tests send with WM_COPYDATA; only honoured when the tests ask for
// them through the environment.
enum TestCommandId : ULONG_PTR { PlaySound = 1, QuerySoundPlaying = 2 };

} // namespace

void TMasterForm::CreateTaskTrayIcon() {
    trayIcon_ = TKZTaskTrayIcon::Create();
    if (!trayIcon_) {
        return;
    }
    trayIcon_->OnClick = [this] { TaskTrayIconClick(true); };
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

void TMasterForm::TaskTrayIconClick(bool fromIcon) {
    const bool soundWasPlaying = sound_->Playing();
    StopSounds();
    UpdateClock(fromIcon);
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
    if (id == SingleClickTimer) {
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
    default:
        return FALSE;
    }
}

} // namespace lumora
