// The master window's handlers: clicks on the icon and the clock, the popup menu's commands, and
// new settings taking effect.

#include "app/MasterForm.h"

#include "menu/SystemCommands.h"
#include "settings/IniDocument.h"
#include "settings/SettingsChanges.h"
#include "settings/SettingsSchema.h"

namespace lumora {

// A click on the icon or on the clock, or the temporary display's: the sound stops, an open
// caption closes and the clock shows for a while. With ShowCalendar on, a click on the icon waits
// out the double-click time to count as a single one.
bool TMasterForm::TaskTrayIconClick(ClickSender sender) {
    const ClickPlan plan = PlanClick(sender, TelopShowing());
    const bool soundWasPlaying = sound_->Playing();
    StopSounds();
    if (plan.CloseCaption) {
        CloseTelop();
    }
    if (sender != ClickSender::Master) {
        UpdateClock(plan.FullRedraw);
    }
    if (plan.FromIcon) {
        SetForegroundWindow(clock_->Window());
        BringForward(WindowKind::Calendar);
    }
    clock_->StartForcedShow(Handle(), ForcedShowTimer);
    if (plan.FromIcon && settings_.View.ShowCalendar && !soundWasPlaying) {
        tray_->AwaitSingleClick();
    }
    return plan.FullRedraw;
}

void TMasterForm::TaskTrayIconDblClick() {
    RunCommand(CommandId::Option);
}

void TMasterForm::TaskTrayIconBalloonClick() {
    StopSounds();
}

// The user's stop: the cuckoo's chain ends with the sound that plays.
void TMasterForm::StopSounds() {
    signal_->StopChain();
    CloseSound();
}

bool TMasterForm::RunCommand(CommandId command) {
    if (RunsInPlace(command)) {
        // Its message box runs a message loop of its own: a second request meanwhile would stack
        // a second box on the first.
        if (!runningInPlace_.insert(command).second) {
            return true;
        }
        struct Finished {
            std::set<CommandId>& running;
            CommandId command;
            ~Finished() { running.erase(command); }
        } finished{runningInPlace_, command};
        return RunInPlace(command);
    }
    if (const auto mode = StackingModeOf(command)) {
        ZOrderAction(*mode);
        return true;
    }
    if (const auto corner = CornerOf(command)) {
        ArrangeCorner(*corner);
        return true;
    }
    switch (command) {
    case CommandId::NetworkAdjust:
        StartAdjust(NetworkAdjustSource(settings_.AdjustClock));
        return true;
    case CommandId::JJYAdjust:
        StartAdjust(KitAdjustVisible(settings_.AdjustClock) ? std::optional(AdjustSource::Kit) : std::nullopt);
        return true;
    case CommandId::AdjustClockZero:
        AdjustClockZero();
        return true;
    case CommandId::KeyMove:
        clock_->KeyMove();
        return true;
    case CommandId::Fixed: {
        Settings next = settings_;
        next.Operation.Fixed = !next.Operation.Fixed;
        ApplySettings(next);
        return true;
    }
    case CommandId::Option:
        OptionActionExecute();
        return true;
    case CommandId::TestPattern:
        TestPatternActionExecute();
        return true;
    case CommandId::WorldClock:
        WorldClockActionExecute();
        return true;
    case CommandId::AlphaBlend:
        AlphaBlendActionExecute();
        return true;
    case CommandId::About:
        AboutActionExecute();
        return true;
    case CommandId::Timer:
        TimerActionExecute();
        return true;
    case CommandId::Calendar:
        CalendarActionExecute();
        return true;
    case CommandId::Exit:
        SendMessageW(Handle(), WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

bool TMasterForm::RunInPlace(CommandId command) {
    switch (command) {
    case CommandId::ScreenSave:
    case CommandId::ScreenSaveConfig:
        RunScreenSaver(standIn_->Handle(), command == CommandId::ScreenSaveConfig);
        return true;
    case CommandId::MonitorOff:
        TurnMonitorOff(standIn_->Handle());
        return true;
    case CommandId::TimeDateCpl:
        OpenTimeDatePanel();
        return true;
    case CommandId::WebSite:
        OpenWebSite(clock_->Window());
        return true;
    case CommandId::Help:
        help_.ShowContext(GetDesktopWindow(), MasterHelpContext);
        return true;
    default:
        return false;
    }
}

void TMasterForm::ArrangeCorner(Corner corner) {
    UpdateClock(true);
    clock_->ArrangeCorner(corner);
}

// Also the mode already checked stacks every window again: another program may have moved them.
void TMasterForm::ZOrderAction(StackingMode mode) {
    settings_.View.Placement.ZOrder = static_cast<int32_t>(mode);
    RestackWindows();
}

void TMasterForm::ApplySettings(const Settings& next, bool rebuildOverlays) {
    Settings normalised = next;
    NormaliseSettings(normalised, {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
    NormaliseBootSettings(normalised.Boot);
    // Keys that mark no part (animation, snapping, the time signal ...) are read afresh where they
    // are used: the record takes every change, the parts rebuild only what the change touches.
    const SettingsChanges changes = CompareSettings(settings_, normalised);
    settings_ = std::move(normalised);
    derived_ = DeriveSettings(settings_, facts_.Colours);
    clock_->ApplyWindowSettings();
    if (changes.ClickThrough) {
        clock_->ApplyClickThrough();
    }
    if (changes.TrayIcon) {
        tray_->ApplyIconSetting();
    }
    if (changes.Priority) {
        SetPriorityClass(GetCurrentProcess(), static_cast<DWORD>(settings_.Boot.Priority));
    }
    if (changes.Visibility) {
        KillTimer(Handle(), ForcedShowTimer);
        clock_->SettleVisibility();
    }
    if (changes.GlyphStrip || changes.KeyColours || changes.Background) {
        clock_->BuildDigitImages(facts_);
    }
    if (changes.Stacking) {
        RestackOverlays(windows_, CurrentOverlayScene().Stacking);
    }
    if (changes.Logos || rebuildOverlays) {
        RebuildLogos();
    }
    if (changes.CallSigns || rebuildOverlays) {
        RebuildCallSigns();
    }
    if (changes.TestPattern) {
        testPattern_.Refresh(settings_);
    }
    if (changes.Calendar) {
        RefreshCalendar();
    }
    UpdateClock(true);
    if (changes.TaskbarClock) {
        if (settings_.View.HideTaskTrayClock && clock_->Shown()) {
            tray_->HideTaskbarClock();
        } else {
            tray_->RestoreTaskbarClock();
        }
    }
}

// Keys of the INI text replace the current values; the load rules apply as when reading the file.
void TMasterForm::ApplySettingsText(const std::wstring& iniText) {
    const IniDocument document = IniDocument::Parse(iniText);
    Settings next = settings_;
    LoadSettings(document, next, {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
    ApplySettings(next);
}

} // namespace lumora
