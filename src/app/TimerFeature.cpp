#include "app/TimerFeature.h"

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

void TimerFeature::Open(HWND master) {
    TimerFormContext context;
    context.Countdown = &countdown_;
    context.CurrentSettings = outlets_.CurrentSettings;
    context.ChangeSettings = outlets_.ChangeSettings;
    context.DisplayedNow = outlets_.DisplayedNow;
    windows_.Adopt(WindowKind::Timer, TTimerForm::Create(master, std::move(context)));
}

void TimerFeature::Step(double displayed, const DateTimeParts& taken) {
    const auto step = countdown_.Tick(displayed, taken.Millisecond);
    if (!step) {
        return;
    }
    auto* form = windows_.Find<TTimerForm>(WindowKind::Timer);
    if (form != nullptr) {
        form->ShowRemaining(step->Remaining);
    }
    if (step->Fire) {
        Fire(form);
    }
}

void TimerFeature::Fire(TTimerForm* form) {
    const TimerFiring firing = countdown_.Fire(settings_.Timer, settings_.Telop);
    if (form != nullptr) {
        form->CountdownEnded(); // back to editing; a late firing leaves the duration as it was
    }
    if (firing.NotifyType == TimerNotifyCaption) {
        announcer_.Caption(firing.Caption, true);
    }
    if (firing.Operation == TimerOperation::None && firing.NotifyType != TimerNotifyMessageBox &&
        firing.NotifyType != TimerNotifyBalloon) {
        return;
    }
    announcer_.Later([this, firing] {
        const HWND owner = announcer_.BoxOwner();
        RunTimerOperation(firing, owner);
        if (firing.NotifyType == TimerNotifyMessageBox) {
            ShowTimerBox(owner, firing.Message, MB_ICONINFORMATION);
        } else if (firing.NotifyType == TimerNotifyBalloon) {
            announcer_.Notify(firing.Notification);
        }
    });
}

} // namespace lumora
