// The master's options dialog: it exists once, edits a copy of the settings, and each Apply
// hands the master a new record.

#include "app/MasterForm.h"

#include "adjust/AdjustResults.h"
#include "options/BuiltInServers.h"
#include "options/OptionForm.h"
#include "options/OptionSystemLists.h"
#include "options/StartupShortcut.h"
#include "settings/SettingsFile.h"

namespace lumora {

OptionFacts TMasterForm::CurrentOptionFacts() const {
    OptionFacts facts;
    facts.Display = {context_.LayeredWindowsAvailable, facts_.ColourDepth};
    facts.Fonts = ReadFontChoices();
    facts.System = ReadSystemDefaults();
    SerialPorts ports = ReadSerialPorts();
    facts.Ports = std::move(ports.Names);
    facts.PortTexts = std::move(ports.Texts);
    facts.Servers = DefaultServerLists();
    facts.Boot.ShortcutExists = StartupShortcutExists();
    facts.Boot.UseAppDataFolder = context_.Location->UsesApplicationData();
    facts.Boot.PriorityClass = static_cast<int32_t>(GetPriorityClass(GetCurrentProcess()));
    facts.Boot.LayeredWindowsAvailable = context_.LayeredWindowsAvailable;
    facts.Tray.TaskbarClockFound = tray_->TaskbarClockFound();
    return facts;
}

void TMasterForm::OptionActionExecute() {
    if (BringForward(WindowKind::Option)) {
        return;
    }
    OptionContext context;
    context.Facts = CurrentOptionFacts();
    context.Current = [this]() -> const Settings& { return settings_; };
    // Whatever an Apply changed, a forced show ends and a pending hide may complete in the full
    // pass that follows.
    context.Apply = [this](const Settings& next) {
        KillTimer(Handle(), ForcedShowTimer);
        clock_->SettleVisibility();
        ApplySettings(next, true);
        RefreshCalendar(); // its day may have turned since the calendar last looked
    };
    context.KitPortApplied = [this](bool selected) { kitPortSelected_ = selected; };
    context.StorePage = [this](int page) { settings_.View.OptionSelectedTab = page; };
    context.StoreAutoPlay = [this](bool autoPlay) { settings_.View.OpenDialogAutoPlay = autoPlay; };
    context.ForgetLastContact = [this] { settings_.AdjustClock.LastConnectedTime = NeverDate; };
    context.AcceptLocation = [this](bool applicationData) {
        WindowsSettingsPrompts prompts(OptionsWindow());
        return context_.Location->AcceptChoice(applicationData, prompts);
    };
    context.ApplyLocation = [this](bool applicationData) {
        if (applicationData != context_.Location->UsesApplicationData()) {
            WindowsSettingsPrompts prompts(OptionsWindow());
            context_.Location->ApplyChoice(applicationData, prompts);
        }
    };
    context.TestAdjust = [this](HWND owner, int method, const Settings& scratch) {
        TestAdjust(owner, method, scratch.AdjustClock);
    };
    context.Sound = sound_.get();
    context.Help = &help_;
    windows_.Adopt(WindowKind::Option, TOptionForm::Create(Handle(), std::move(context)));
}

HWND TMasterForm::OptionsWindow() const {
    const TKZForm* options = windows_.Find(WindowKind::Option);
    return options != nullptr ? options->Handle() : nullptr;
}

// "テスト(&T)" of the options dialog: a run that reports and sets nothing, refused while its
// source is still at work.
void TMasterForm::TestAdjust(HWND owner, int method, const AdjustClockSettings& adjust) {
    constexpr AdjustSource sources[] = {AdjustSource::Ntp, AdjustSource::Http, AdjustSource::Kit};
    if (method < 1 || method > 3) {
        return;
    }
    const AdjustSource source = sources[method - 1];
    if (clockSetter_->Running(source)) {
        const std::wstring text(AdjustBusyText);
        MessageBoxW(owner, text.c_str(), L"Lumora", MB_OK | MB_ICONWARNING);
        return;
    }
    clockSetter_->Start(source, MakeAdjustRequest(source, AdjustKind::Test, adjust));
}

} // namespace lumora
