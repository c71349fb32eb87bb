// The master's part in the countdown timer: the dialog, opened once; the step of every pass; the
// firing with its caption, operation and announcement. Message boxes come only after the pass, so
// the clock keeps ticking beneath them.

#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "clock/TimeText.h"
#include "shell/MessageBoxes.h"
#include "tools/TimerForm.h"
#include "tools/TimerFormRes.h"
#include "tools/TimerOperations.h"

namespace lumora {
namespace {

void ShowTimerBox(HWND owner, const std::wstring& text, UINT icon) {
    MessageBoxW(owner, text.c_str(), TimerBoxCaption().c_str(), icon | UnaskedBoxFlags);
}

void ShowTimerFailure(HWND owner, UINT id, std::initializer_list<std::wstring_view> args = {}) {
    ShowTimerBox(owner, FillText(LoadResourceString(id), args), MB_ICONEXCLAMATION);
}

// A shutdown privilege that cannot be had ends the operation without a word.
void RunTimerOperation(const TimerFiring& firing, HWND owner) {
    switch (firing.Operation) {
    case TimerOperation::RunProgram:
        if (!OpenTimerProgram(firing.Program)) {
            ShowTimerFailure(owner, IDS_TIMER_LAUNCH_FAILED, {firing.Program});
        }
        break;
    case TimerOperation::ShutDown:
        if (ShutDownWindows(firing.Force) == PowerOutcome::Failed) {
            ShowTimerFailure(owner, IDS_TIMER_SHUTDOWN_FAILED);
        }
        break;
    case TimerOperation::Standby:
        if (SuspendWindows(false) == PowerOutcome::Failed) {
            ShowTimerFailure(owner, IDS_TIMER_STANDBY_FAILED);
        }
        break;
    case TimerOperation::Hibernate:
        if (SuspendWindows(true) == PowerOutcome::Failed) {
            ShowTimerFailure(owner, IDS_TIMER_HIBERNATE_FAILED);
        }
        break;
    case TimerOperation::None:
        break;
    }
}

} // namespace

void TMasterForm::TimerActionExecute() {
    if (BringForward(WindowKind::Timer)) {
        return;
    }
    TimerFormContext context;
    context.Countdown = countdown_.get();
    context.CurrentSettings = [this] { return settings_.Timer; };
    context.ChangeSettings = [this](const TimerSettings& timer) {
        Settings next = settings_;
        next.Timer = timer;
        ApplySettings(next);
    };
    context.DisplayedNow = [this] { return DisplayedTime(LocalNow(), settings_.WorldClock, facts_.TimeZoneBias); };
    windows_.Adopt(WindowKind::Timer, TTimerForm::Create(Handle(), std::move(context)));
}

void TMasterForm::TimerStep(double displayed, const DateTimeParts& taken) {
    const auto step = countdown_ ? countdown_->Tick(displayed, taken.Millisecond) : std::nullopt;
    if (!step) {
        return;
    }
    auto* form = static_cast<TTimerForm*>(windows_.Find(WindowKind::Timer));
    if (form != nullptr) {
        form->ShowRemaining(step->Remaining);
    }
    if (!step->Fire) {
        return;
    }
    const TimerFiring firing = countdown_->Fire(settings_.Timer, settings_.Telop);
    if (form != nullptr) {
        form->CountdownEnded(); // back to editing; a late firing leaves the duration as it was
    }
    if (firing.NotifyType == TimerNotifyCaption) {
        ShowTelop(firing.Caption[0] + L"\r\n" + firing.Caption[1] + L"\r\n" + firing.Caption[2], true);
    }
    if (firing.Operation == TimerOperation::None && firing.NotifyType != TimerNotifyMessageBox &&
        firing.NotifyType != TimerNotifyBalloon) {
        return;
    }
    afterPass_->Add([this, firing] {
        const HWND active = MessageBoxOwner(clock_->Window());
        const HWND owner = active != nullptr ? active : GetDesktopWindow();
        RunTimerOperation(firing, owner);
        if (firing.NotifyType == TimerNotifyMessageBox) {
            ShowTimerBox(owner, firing.Message, MB_ICONINFORMATION);
        } else if (firing.NotifyType == TimerNotifyBalloon) {
            constexpr int Information = 1;
            tray_->ShowNotification(firing.Notification, Information, Information, clock_->Window());
        }
    });
}

} // namespace lumora
