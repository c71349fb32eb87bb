// The master's part in setting the computer's clock: it builds the runs from its settings, keeps
// the time of the last server contact in its record, and carries out what a run's end asks:
// the sound, the taskbar clock's redraw and the result, shown as the settings say. A run the user
// started that the system refused for want of the right may be made with administrator rights.

#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "shell/MessageBoxes.h"
#include "tray/TaskTrayIcon.h"
#include "clock/TooltipFormat.h"

#include <utility>

namespace lumora {

void TMasterForm::CreateClockSetter() {
    ClockSetterHost host;
    host.LastConnectedTime = [this] { return settings_.AdjustClock.LastConnectedTime; };
    host.SetLastConnectedTime = [this](double at) { settings_.AdjustClock.LastConnectedTime = at; };
    host.Locale = [this] { return facts_.Locale; };
    host.Finished = [this](const AdjustResult& result, AdjustKind kind) { AdjustFinished(result, kind); };
    host.KitPortRefusesSettings = testHooks_ && testHooks_->KitPortRefusesSettings();
    clockSetter_ = std::make_unique<ClockSetter>(Handle(), ClockSetterMessage, settings_.AdjustClock.BootAdjust,
                                                 LocalNow(), std::move(host));
}

void TMasterForm::StartAdjust(std::optional<AdjustSource> source) {
    if (source) {
        clockSetter_->Start(*source, MakeAdjustRequest(*source, AdjustKind::Manual, settings_.AdjustClock));
    }
}

void TMasterForm::AdjustClockZero() {
    AdjustFinished(clockSetter_->ZeroAdjust(), AdjustKind::Manual);
}

void TMasterForm::AdjustFinished(const AdjustResult& result, AdjustKind kind) {
    if (clockPrivilege_.Offer(kind, result.SetError)) {
        afterPass_->Add([this, result, kind] { OfferElevatedSet(result, kind); });
        return;
    }
    ReportAdjust(result, kind);
}

void TMasterForm::OfferElevatedSet(const AdjustResult& refused, AdjustKind kind) {
    const std::optional<std::wstring> arguments = ElevatedSetArguments(refused.Correction);
    bool started = false;
    if (arguments) {
        const std::wstring question(ElevatedSetQuestion);
        const std::wstring title = SplitNotification(refused.Text).Title;
        const int answer = MessageBoxW(MessageBoxOwner(clock_->Window()), question.c_str(), title.c_str(),
                                       MB_YESNO | MB_ICONWARNING | UnaskedBoxFlags);
        auto finished = [this, refused, kind](const ElevatedSetRun& run) { ElevatedSetFinished(refused, kind, run); };
        started = answer == IDYES && clockSetter_->StartElevatedSet(Handle(), *arguments, std::move(finished));
    }
    if (!started) {
        clockPrivilege_.OfferEnded();
        ReportAdjust(refused, kind);
    }
}

void TMasterForm::ElevatedSetFinished(const AdjustResult& refused, AdjustKind kind, const ElevatedSetRun& run) {
    clockPrivilege_.OfferEnded();
    lastElevatedSet_ = run;
    if (ElevatedSetOutcomeOf(run.StartError, run.ExitCode) != ElevatedSetOutcome::Done) {
        ReportAdjust(refused, kind);
        return;
    }
    ReportAdjust(refused.ReportSetAfterAll(UtcNow()), kind);
}

void TMasterForm::ReportAdjust(const AdjustResult& result, AdjustKind kind) {
    const AdjustFollowUp followUp = FollowUpOf(result, settings_.AdjustClock.AdjustSound);
    if (followUp.FollowClock) {
        // Stamps taken on the old clock move with it.
        settings_.AdjustClock.LastConnectedTime =
            FollowClockChange(settings_.AdjustClock.LastConnectedTime, result.Correction);
        clockSetter_->ClockChanged(result.Correction);
    }
    if (followUp.RefreshNotificationArea) {
        RefreshNotificationArea();
    }
    if (followUp.RedrawTaskbarClock) {
        tray_->RedrawTaskbarClock();
    }
    if (followUp.PlaySound) {
        PlayMasterSound(settings_.AdjustClock.AdjustSoundFile);
    }
    if (clockPrivilege_.ResultShown(kind, result.SetError, settings_.AdjustClock.AdjustMessage)) {
        afterPass_->Add([this, result] {
            tray_->ShowNotification(result.Text, result.BalloonKind, result.BeepKind, clock_->Window());
        });
    }
}

void TMasterForm::PlayMasterSound(const std::wstring& fileName) {
    signal_->StopChain();
    sound_->Play(Handle(), Handle(), fileName, false, false);
}

} // namespace lumora
