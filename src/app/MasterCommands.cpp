// The master window's handlers: clicks on the icon and the clock, the popup menu's commands, the
// caption, and new settings taking effect.

#include "app/MasterForm.h"

#include "adjust/AdjustSchedule.h"
#include "adjust/SystemClock.h"
#include "clock/Placement.h"
#include "options/OptionSystemLists.h"
#include "settings/SettingsChanges.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"

namespace lumora {

// A click on the icon or on the clock, or the temporary display's: the sound stops, an open
// caption closes and the clock shows for a while. With ShowCalendar on, a click on the icon waits
// out the double-click time to count as a single one.
bool TMasterForm::TaskTrayIconClick(ClickSender sender) {
    const ClickPlan plan = PlanClick(sender, TelopShowing());
    const bool soundWasPlaying = sounds_->Playing();
    sounds_->Stop();
    if (plan.CloseCaption) {
        broadcast_->CloseCaption();
    }
    if (sender != ClickSender::Master) {
        UpdateClock(plan.FullRedraw);
    }
    if (plan.FromIcon) {
        SetForegroundWindow(clock_->Window());
        tools_->BringForward(WindowKind::Calendar);
    }
    clock_->StartForcedShow(Handle(), ForcedShowTimer);
    if (plan.FromIcon && settings_.View.ShowCalendar && !soundWasPlaying) {
        tray_->AwaitSingleClick();
    }
    return plan.FullRedraw;
}

bool TMasterForm::RunCommand(CommandId command) {
    if (menu_->RunInPlace(command, clock_->Window(),
                          [this] { tools_->Help().ShowContext(GetDesktopWindow(), MasterHelpContext); })) {
        return true;
    }
    if (const auto mode = StackingModeOf(command)) {
        // Also the mode already checked stacks every window again: another program may have
        // moved them.
        settings_.View.Placement.ZOrder = static_cast<int32_t>(*mode);
        RestackWindows();
        return true;
    }
    if (const auto corner = CornerOf(command)) {
        UpdateClock(true);
        clock_->ArrangeCorner(*corner);
        return true;
    }
    switch (command) {
    case CommandId::NetworkAdjust:
        adjuster_->StartFromMenu(NetworkAdjustSource(settings_.AdjustClock));
        return true;
    case CommandId::JJYAdjust:
        adjuster_->StartFromMenu(KitAdjustVisible(settings_.AdjustClock) ? std::optional(AdjustSource::Kit)
                                                                         : std::nullopt);
        return true;
    case CommandId::AdjustClockZero:
        adjuster_->AdjustZero();
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
        broadcast_->OpenTestPattern();
        return true;
    case CommandId::WorldClock:
        tools_->OpenWorldClock();
        return true;
    case CommandId::AlphaBlend:
        tools_->OpenAlphaBlend();
        return true;
    case CommandId::About:
        tools_->OpenAbout();
        return true;
    case CommandId::Timer:
        tools_->OpenTimer();
        return true;
    case CommandId::Calendar:
        tools_->OpenCalendar();
        return true;
    case CommandId::Exit:
        SendMessageW(Handle(), WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

// One caption at a time, opened by the features that announce something. The caption stands in
// for the clock: the clock goes, and with it the reason to keep the taskbar's own clock hidden.
// The pass brings the clock back once the caption has closed. A click on it stops its sound.
bool TMasterForm::ShowTelop(const std::wstring& text, bool allowSound) {
    TelopContext context;
    context.Owner = clock_->Window();
    context.Layered = context_.LayeredWindowsAvailable;
    context.BottomMost = StackingModeFromSetting(settings_.View.Placement.ZOrder) == StackingMode::NotInFront;
    context.Clicked = [this] { sounds_->Stop(); };
    TTelopForm* telop = broadcast_->OpenCaption(text, std::move(context));
    if (telop == nullptr) {
        return false; // nothing to show, or no window: an announcement is not worth a message
    }
    clock_->HideNow();
    if (settings_.View.HideTaskTrayClock && tray_->TaskbarClockWasVisible()) {
        tray_->RestoreTaskbarClock();
    }
    telop->Show();
    if (settings_.Telop.Sound && allowSound) {
        sounds_->Play(settings_.Telop.SoundFile);
    }
    return true;
}

bool TMasterForm::TelopShowing() const {
    return broadcast_ && broadcast_->CaptionShowing();
}

void TMasterForm::ApplySettings(const Settings& next, bool rebuildOverlays) {
    Settings normalised = next;
    NormaliseSettings(normalised, {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
    NormaliseBootSettings(normalised.Boot);
    // Keys that mark no part (animation, snapping, the time signal ...) are read afresh where they
    // are used: the record takes every change, the parts rebuild only what the change touches.
    const SettingsChanges changes = CompareSettings(settings_, normalised);
    settings_ = std::move(normalised);
    clock_->Rederive(facts_.Colours);
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
        broadcast_->Restack(CurrentOverlayScene().Stacking);
    }
    if (changes.Logos || rebuildOverlays) {
        broadcast_->RebuildLogos();
    }
    if (changes.CallSigns || rebuildOverlays) {
        broadcast_->RebuildCallSigns();
    }
    if (changes.TestPattern) {
        broadcast_->RefreshTestPattern();
    }
    if (changes.Calendar) {
        tools_->RefreshCalendar();
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

OverlayScene TMasterForm::CurrentOverlayScene() const {
    OverlayScene scene;
    scene.Master = Handle();
    scene.Clock = clock_->Window();
    RECT clock{};
    GetWindowRect(scene.Clock, &clock);
    scene.ClockRect = {clock.left, clock.top, clock.right, clock.bottom};
    scene.Layered = context_.LayeredWindowsAvailable;
    scene.Stacking = PictureStackingFor(StackingModeFromSetting(settings_.View.Placement.ZOrder));
    scene.ColourDepth = facts_.ColourDepth;
    scene.PrimaryDisplayHeight = GetSystemMetrics(SM_CYSCREEN);
    scene.Monitors = facts_.MonitorRects;
    return scene;
}

void TMasterForm::RestackWindows() {
    broadcast_->Restack(CurrentOverlayScene().Stacking);
    clock_->ApplyStacking();
}

MenuContext TMasterForm::CurrentMenuContext() const {
    return menu_->Context(facts_.ColourDepth, context_.LayeredWindowsAvailable, tools_->Timer().Running());
}

void TMasterForm::ShowPopupMenu(POINT point) {
    menu_->Show(point, settings_, CurrentMenuContext());
}

void TMasterForm::OptionActionExecute() {
    if (tools_->BringForward(WindowKind::Option)) {
        return;
    }
    OptionContext context;
    context.Facts = ReadOptionFacts({context_.LayeredWindowsAvailable, facts_.ColourDepth}, *context_.Location,
                                    tray_->TaskbarClockFound());
    context.Current = [this]() -> const Settings& { return settings_; };
    // Whatever an Apply changed, a forced show ends and a pending hide may complete in the full
    // pass that follows.
    context.Apply = [this](const Settings& next) {
        KillTimer(Handle(), ForcedShowTimer);
        clock_->SettleVisibility();
        ApplySettings(next, true);
        tools_->RefreshCalendar(); // its day may have turned since the calendar last looked
    };
    context.KitPortApplied = [this](bool selected) { menu_->SetKitPortSelected(selected); };
    context.StorePage = [this](int page) { settings_.View.OptionSelectedTab = page; };
    context.StoreAutoPlay = [this](bool autoPlay) { settings_.View.OpenDialogAutoPlay = autoPlay; };
    context.ForgetLastContact = [this] { settings_.AdjustClock.LastConnectedTime = NeverDate; };
    context.AcceptLocation = [this](bool applicationData) {
        WindowsSettingsPrompts prompts(tools_->OptionsWindow());
        return context_.Location->AcceptChoice(applicationData, prompts);
    };
    context.ApplyLocation = [this](bool applicationData) {
        if (applicationData != context_.Location->UsesApplicationData()) {
            WindowsSettingsPrompts prompts(tools_->OptionsWindow());
            context_.Location->ApplyChoice(applicationData, prompts);
        }
    };
    context.TestAdjust = [this](HWND owner, int method, const Settings& scratch) {
        adjuster_->StartTest(owner, method, scratch.AdjustClock);
    };
    context.Sound = &sounds_->Player();
    tools_->OpenOptions(std::move(context));
}

} // namespace lumora
