#include "app/ClockAdjuster.h"

#include "adjust/AdjustResults.h"
#include "adjust/SystemClock.h"
#include "clock/TooltipFormat.h"
#include "shell/AppNames.h"
#include "shell/MessageBoxes.h"
#include "tray/TaskTrayIcon.h"

#include <utility>

namespace lumora {
namespace {

ClockSetterHost MakeHost(AdjustClockSettings& settings, const ClockAdjuster::Outlets& outlets,
                         std::function<void(const AdjustResult&, AdjustKind)> finished, bool kitPortRefusesSettings) {
    ClockSetterHost host;
    host.LastConnectedTime = [&settings] { return settings.LastConnectedTime; };
    host.SetLastConnectedTime = [&settings](double at) { settings.LastConnectedTime = at; };
    host.Locale = outlets.Locale;
    host.Finished = std::move(finished);
    host.KitPortRefusesSettings = kitPortRefusesSettings;
    return host;
}

} // namespace

ClockAdjuster::ClockAdjuster(HWND master, UINT message, AdjustClockSettings& settings, Announcer& announcer,
                             Outlets outlets, bool kitPortRefusesSettings)
    : master_(master), settings_(settings), announcer_(announcer), outlets_(std::move(outlets)),
      setter_(master, message, settings.BootAdjust, LocalNow(),
              MakeHost(
                  settings, outlets_, [this](const AdjustResult& result, AdjustKind kind) { Finished(result, kind); },
                  kitPortRefusesSettings)) {}

void ClockAdjuster::StartFromMenu(std::optional<AdjustSource> source) {
    if (source) {
        Start(*source, AdjustKind::Manual);
    }
}

void ClockAdjuster::Start(AdjustSource source, AdjustKind kind) {
    setter_.Start(source, MakeAdjustRequest(source, kind, settings_));
}

void ClockAdjuster::StartTest(HWND owner, int method, const AdjustClockSettings& scratch) {
    constexpr AdjustSource sources[] = {AdjustSource::Ntp, AdjustSource::Http, AdjustSource::Kit};
    if (method < 1 || method > 3) {
        return;
    }
    const AdjustSource source = sources[method - 1];
    if (setter_.Running(source)) {
        const std::wstring text(AdjustBusyText);
        MessageBoxW(owner, text.c_str(), names::ProductName, MB_OK | MB_ICONWARNING);
        return;
    }
    setter_.Start(source, MakeAdjustRequest(source, AdjustKind::Test, scratch));
}

void ClockAdjuster::AdjustZero() {
    Finished(setter_.ZeroAdjust(), AdjustKind::Manual);
}

void ClockAdjuster::Finished(const AdjustResult& result, AdjustKind kind) {
    if (privilege_.Offer(kind, result.SetError)) {
        announcer_.Later([this, result, kind] { OfferElevatedSet(result, kind); });
        return;
    }
    Report(result, kind);
}

void ClockAdjuster::OfferElevatedSet(const AdjustResult& refused, AdjustKind kind) {
    const std::optional<std::wstring> arguments = ElevatedSetArguments(refused.Correction);
    bool started = false;
    if (arguments) {
        const std::wstring question(ElevatedSetQuestion);
        const std::wstring title = SplitNotification(refused.Text).Title;
        const int answer = MessageBoxW(MessageBoxOwner(outlets_.ClockWindow()), question.c_str(), title.c_str(),
                                       MB_YESNO | MB_ICONWARNING | UnaskedBoxFlags);
        auto finished = [this, refused, kind](const ElevatedSetRun& run) { ElevatedSetFinished(refused, kind, run); };
        started = answer == IDYES && setter_.StartElevatedSet(master_, *arguments, std::move(finished));
    }
    if (!started) {
        privilege_.OfferEnded();
        Report(refused, kind);
    }
}

void ClockAdjuster::ElevatedSetFinished(const AdjustResult& refused, AdjustKind kind, const ElevatedSetRun& run) {
    privilege_.OfferEnded();
    lastElevatedSet_ = run;
    if (ElevatedSetOutcomeOf(run.StartError, run.ExitCode) != ElevatedSetOutcome::Done) {
        Report(refused, kind);
        return;
    }
    Report(refused.ReportSetAfterAll(UtcNow()), kind);
}

void ClockAdjuster::Report(const AdjustResult& result, AdjustKind kind) {
    const AdjustFollowUp followUp = FollowUpOf(result, settings_.AdjustSound);
    if (followUp.FollowClock) {
        // Stamps taken on the old clock move with it.
        settings_.LastConnectedTime = FollowClockChange(settings_.LastConnectedTime, result.Correction);
        setter_.ClockChanged(result.Correction);
    }
    if (followUp.RefreshNotificationArea) {
        RefreshNotificationArea();
    }
    if (followUp.RedrawTaskbarClock) {
        outlets_.RedrawTaskbarClock();
    }
    if (followUp.PlaySound) {
        outlets_.PlayAdjustSound(settings_.AdjustSoundFile);
    }
    if (privilege_.ResultShown(kind, result.SetError, settings_.AdjustMessage)) {
        announcer_.NotifyLater(result.Text, result.BalloonKind, result.BeepKind);
    }
}

std::wstring ClockAdjuster::DescribeElevatedSet() const {
    if (!lastElevatedSet_) {
        return {};
    }
    return lastElevatedSet_->Arguments + L"\r\n" + std::to_wstring(lastElevatedSet_->StartError) + L"\r\n" +
           std::to_wstring(lastElevatedSet_->ExitCode);
}

} // namespace lumora
