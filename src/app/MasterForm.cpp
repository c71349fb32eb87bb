#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "clock/TimeText.h"
#include "resources/ResourceIds.h"
#include "settings/IniDocument.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"
#include "shell/AppNames.h"
#include "shell/Application.h"
#include "shell/ExecutablePath.h"
#include "shell/MessageBoxes.h"
#include "shell/PathText.h"

#include <mmsystem.h>

#include <stdexcept>
#include <utility>

namespace lumora {
namespace {

// Windows holds back a message from a process of lower integrity than the window's, so while the
// program runs with administrator rights what the shell and a second start send would never
// arrive. (The icon's window lets the shell's messages through itself.)
void AllowMessagesFromOtherPrograms(HWND master, UINT showOptionsMessage, bool testCommands) {
    for (const UINT message : {showOptionsMessage, RegisterWindowMessageW(names::TaskbarCreatedMessage)}) {
        ChangeWindowMessageFilterEx(master, message, MSGFLT_ALLOW, nullptr);
    }
    if (testCommands) {
        ChangeWindowMessageFilterEx(master, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    }
}

} // namespace

TMasterForm::TMasterForm(StartupContext& context) : context_(context) {}

std::unique_ptr<TMasterForm> TMasterForm::Create(StartupContext& context, const IniDocument& document) {
    std::unique_ptr<TMasterForm> form(new TMasterForm(context));
    SetCurrentDirectoryW(std::wstring(FolderOf(ExecutablePath())).c_str());
    const std::wstring caption = std::wstring(names::ProductName) + L" " + LoadResourceString(IDS_MASTER_CAPTION);
    CreateParams params;
    params.ClassName = names::MasterFormClass;
    params.Caption = caption.c_str();
    params.Style = WS_POPUP | WS_DISABLED;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    params.Left = -32000;
    params.Top = -32000;
    if (!form->CreateForm(params)) {
        return nullptr;
    }
    form->FormCreate(document);
    return form;
}

void TMasterForm::FormCreate(const IniDocument& document) {
    settings_ = DefaultSettings(ReadSystemDefaults());
    settings_.Boot = context_.Boot;
    facts_ = ReadSystemFacts();
    CreateParts();
    CreateFeatures();
    LoadSettings(document, settings_, {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
    clock_->Rederive(facts_.Colours);
    clock_->ApplyWindowSettings();
    clock_->BuildDigitImages(facts_);
    tray_->ApplyIconSetting();
    adjuster_ = std::make_unique<ClockAdjuster>(
        Handle(), ClockSetterMessage, settings_.AdjustClock, *announcer_,
        ClockAdjuster::Outlets{.Locale = [this] { return facts_.Locale; },
                               .ClockWindow = [this] { return clock_->Window(); },
                               .RedrawTaskbarClock = [this] { tray_->RedrawTaskbarClock(); },
                               .PlayAdjustSound = [this](const std::wstring& file) { sounds_->Play(file); }},
        run_.Hooks && run_.Hooks->KitPortRefusesSettings());
    StartTick();
    *run_.StartupFinished = true;
    for (const WPARAM command : std::exchange(run_.CommandsDuringStartup, {})) {
        PostMessageW(Handle(), WM_COMMAND, command, 0);
    }
}

// The tool windows first, for the splashes; then the clock, the sounds, the icon and the overlays.
void TMasterForm::CreateParts() {
    announcer_ = std::make_unique<Announcer>(
        Handle(), AfterPassMessage,
        Announcer::Outlets{
            .ClockWindow = [this] { return clock_->Window(); },
            .Notify = [this](const std::wstring& text, int balloonKind,
                             int beepKind) { tray_->ShowNotification(text, balloonKind, beepKind, clock_->Window()); },
            .ShowCaption = [this](const std::wstring& text, bool allowSound) { return ShowTelop(text, allowSound); }});
    tools_ = std::make_unique<ToolWindows>(
        Handle(), settings_, facts_, context_.LayeredWindowsAvailable, *announcer_,
        ToolWindows::Outlets{
            .ApplySettings = [this](const Settings& next) { ApplySettings(next); },
            .RunCommand = [this](CommandId command) { RunCommand(command); },
            .DisplayedNow = [this] { return DisplayedTime(LocalNow(), settings_.WorldClock, facts_.TimeZoneBias); }});
    if (settings_.Boot.ShowSplash) {
        tools_->ShowSplashes([finished = run_.StartupFinished] { return *finished; });
    }
    ClockWindowEvents clockEvents;
    clockEvents.Click = [this] { TaskTrayIconClick(ClickSender::Clock); };
    clockEvents.PopupMenu = [this](POINT point) { ShowPopupMenu(point); };
    clockEvents.MouseEntered = [this] {
        if (run_.Tick) {
            PostMessageW(Handle(), run_.Tick->Message(), 0, 0);
        }
    };
    clock_ = ClockDisplay::Create(Handle(), settings_, context_.LayeredWindowsAvailable, std::move(clockEvents));
    if (!clock_) {
        throw std::runtime_error("the clock window could not be created");
    }
    sounds_ = std::make_unique<MasterSounds>(Handle());
    NotificationAreaEvents trayEvents;
    trayEvents.Click = [this] { TaskTrayIconClick(ClickSender::Icon); };
    trayEvents.DoubleClick = [this] { RunCommand(CommandId::Option); };
    trayEvents.SingleClick = [this] { tools_->OpenCalendar(); };
    trayEvents.BalloonClick = [this] { sounds_->Stop(); };
    trayEvents.Recreated = [this] { tray_->RecheckTaskbarClock(clock_->Shown()); };
    trayEvents.ContextMenu = [this](POINT point) { ShowPopupMenu(point); };
    tray_ = std::make_unique<NotificationArea>(settings_, Handle(), SingleClickTimer, std::move(trayEvents));
    broadcast_ = std::make_unique<BroadcastOverlays>(settings_, [this] { return CurrentOverlayScene(); });
}

// The menu with what makes its commands busy, and the hooks of the tests.
void TMasterForm::CreateFeatures() {
    menu_ = ProgramMenu::Create(Handle(), facts_.ColourDepth);
    if (!menu_) {
        throw std::runtime_error("the menu's owner window could not be created");
    }
    for (const auto& [kind, command] : {std::pair{WindowKind::WorldClock, CommandId::WorldClock},
                                        {WindowKind::AlphaBlend, CommandId::AlphaBlend},
                                        {WindowKind::About, CommandId::About},
                                        {WindowKind::Timer, CommandId::Timer},
                                        {WindowKind::Option, CommandId::Option},
                                        {WindowKind::Calendar, CommandId::Calendar}}) {
        menu_->AddBusyState(command, [this, kind] { return tools_->IsOpen(kind); });
    }
    menu_->AddBusyState(CommandId::TestPattern, [this] { return broadcast_->TestPatternOpen(); });
    menu_->AddBusyState(CommandId::NetworkAdjust, [this] {
        return adjuster_ && (adjuster_->Running(AdjustSource::Ntp) || adjuster_->Running(AdjustSource::Http));
    });
    menu_->AddBusyState(CommandId::JJYAdjust, [this] { return adjuster_ && adjuster_->Running(AdjustSource::Kit); });
    CreateTestHooks();
    AllowMessagesFromOtherPrograms(Handle(), context_.ShowOptionsMessage, run_.Hooks && run_.Hooks->AcceptsCommands());
}

void TMasterForm::CreateTestHooks() {
    run_.Hooks = TestHooks::FromEnvironment(
        {.Master = Handle(),
         .Sound = sounds_.get(),
         .ShowNotification = [this](const std::wstring& text, int balloonKind,
                                    int beepKind) { announcer_->Notify(text, balloonKind, beepKind); },
         .ApplySettingsText =
             [this](const std::wstring& iniText) {
                 // The keys replace the current values; the load rules apply as when reading the file.
                 Settings next = settings_;
                 LoadSettings(IniDocument::Parse(iniText), next,
                              {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
                 ApplySettings(next);
             },
         .ShowTelop = [this](const std::wstring& text, bool allowSound) { ShowTelop(text, allowSound); },
         .DescribeOpenMenu = [this] { return DescribeMenu(menu_->OpenMenu()); },
         .StartAdjust =
             [this](int kind, int source) {
                 adjuster_->Start(static_cast<AdjustSource>(source), static_cast<AdjustKind>(kind));
             },
         .FullRedraws = [this] { return clock_ ? clock_->FullRedraws() : 0; },
         .TrayIconState = [this] { return tray_->IconShown()        ? 1
                                          : tray_->IconAddPending() ? 2
                                                                    : 0; },
         .TrayIconWidth = [this] { return tray_->IconWidth(); },
         .DescribeElevatedSet = [this] { return adjuster_->DescribeElevatedSet(); }});
    if (run_.Hooks) {
        broadcast_->SetTestPatternRefusal(
            [hooks = run_.Hooks.get()](int index) { return hooks->TestPatternRefused(index); });
    }
}

void TMasterForm::StartTick() {
    run_.Tick = std::make_unique<TickEngine>(Handle(), RegisterWindowMessageW(names::TickMessage));
    run_.Tick->Prepare();
    UpdateClock(true);
    const bool allowed = !run_.Hooks || run_.Hooks->TickMayStart();
    if (!allowed || !run_.Tick->Start()) {
        // A clock that never moves is worse than none: say so and end the run.
        ShowResourceMessage(nullptr, IDS_TICK_FAILED, MB_ICONERROR | MB_SETFOREGROUND);
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

LRESULT TMasterForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (run_.Tick && message == run_.Tick->Message()) {
        TickMessage();
        return 0;
    }
    if (message == context_.ShowOptionsMessage && message != 0) {
        RunCommand(CommandId::Option);
        return 0;
    }
    if (const auto result = PartMessage(message, wParam, lParam)) {
        return *result;
    }
    switch (message) {
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        FormEndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && IsCommandId(LOWORD(wParam))) {
            CommandMessage(wParam);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
        DefaultHandler(message, wParam, lParam);
        SysColorChange();
        return 0;
    case WM_SETTINGCHANGE:
        DefaultHandler(message, wParam, lParam);
        facts_.Locale = ReadLocaleFacts();
        tray_->RecheckTaskbarClock(clock_->Shown());
        return 0;
    case WM_TIMECHANGE:
        DefaultHandler(message, wParam, lParam);
        facts_.TimeZoneBias = ReadTimeZoneBias();
        tools_->RefreshCalendar();
        return 0;
    case WM_DISPLAYCHANGE:
        DefaultHandler(message, wParam, lParam);
        DisplayChange(wParam, lParam);
        return 0;
    case WM_POWERBROADCAST: {
        DefaultHandler(message, wParam, lParam);
        constexpr WPARAM ResumeCritical = 6, ResumeSuspend = 7, ResumeStandby = 8;
        if (wParam == ResumeCritical || wParam == ResumeSuspend || wParam == ResumeStandby) {
            UpdateClock(true);
        }
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == ForcedShowTimer && !clock_->ForcedShowTick()) {
            KillTimer(Handle(), ForcedShowTimer);
        } else if (wParam == SingleClickTimer) {
            tray_->SingleClickTimerFired();
        }
        return 0;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

std::optional<LRESULT> TMasterForm::PartMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (adjuster_ && adjuster_->HandleMessage(message)) {
        return 0;
    }
    if (run_.Hooks) {
        if (const auto result = run_.Hooks->HandleMessage(message, wParam, lParam)) {
            return result;
        }
    }
    if (announcer_ && announcer_->HandleMessage(message)) {
        return 0;
    }
    if (message == MM_MCINOTIFY && sounds_) {
        sounds_->Notified(wParam);
        return 0;
    }
    LRESULT result = 0;
    if (menu_ && menu_->HandleMessage(message, wParam, lParam, result)) {
        return result;
    }
    return std::nullopt;
}

void TMasterForm::CommandMessage(WPARAM wParam) {
    if (!*run_.StartupFinished) {
        run_.CommandsDuringStartup.push_back(wParam);
        return;
    }
    // The menu's own choices come this way too; another program's only reach a command the menu
    // would offer now.
    const auto command = static_cast<CommandId>(LOWORD(wParam));
    if (CommandAccepted(command, settings_, CurrentMenuContext())) {
        RunCommand(command);
    }
}

// One pass: the automatic clock setting, the displayed time, the timer, the tooltips, the
// temporary display, then the clock decides, draws and pushes, and the hour sounds.
void TMasterForm::UpdateClock(bool fullRedraw) {
    if (!clock_ || !tray_ || !adjuster_) {
        return; // still starting, or already closing
    }
    const double now = LocalNow();
    adjuster_->Tick(now);
    const double displayed = DisplayedTime(now, settings_.WorldClock, facts_.TimeZoneBias);
    const DateTimeParts taken = SplitDateTime(displayed);
    tools_->Timer().Step(displayed, taken);
    clock_->RefreshHint(displayed, taken, facts_.Locale);
    tray_->RefreshTip(displayed, taken, facts_.Locale);
    // The temporary display is a click of the program's own; this pass is its pass.
    if (clock_->TemporaryDisplayDue(displayed, taken) && TaskTrayIconClick(ClickSender::Master)) {
        fullRedraw = true;
    }
    const PassContext pass{WithAnimationLead(displayed, settings_.Animation), taken, fullRedraw};
    const VisibilityDecision decision = clock_->DecideVisibility(pass, TelopShowing(), tray_->TaskbarClockWasVisible());
    if (decision.FirstShow) {
        RestackWindows(); // the saved stacking mode, placed but still hidden
    }
    if (decision.HideTaskbarClock) {
        tray_->HideTaskbarClock();
    }
    if (decision.RestoreTaskbarClock) {
        tray_->RestoreTaskbarClock();
    }
    clock_->Render(pass, facts_);
    if (const auto announcement = sounds_->SoundTheHour(pass.Displayed, settings_, facts_)) {
        announcer_->Announce(*announcement);
    }
    if (!run_.FirstPassDone) {
        run_.FirstPassDone = true;
        broadcast_->RebuildLogos();
        broadcast_->RebuildCallSigns();
    }
    if (decision.FirstShow && settings_.Omake.OmakeWindow) {
        broadcast_->ShowOmake(LocalNow(), facts_.Locale);
    }
    broadcast_->ReleaseClosed();
    tools_->ReleaseClosed();
}

void TMasterForm::TickMessage() {
    if (ApplicationTerminating()) {
        return;
    }
    // No new ticks are posted while this pass runs, whatever happens in it.
    struct PostingPause {
        TickEngine& engine;
        explicit PostingPause(TickEngine& e) : engine(e) { engine.SetPostingAllowed(false); }
        ~PostingPause() { engine.SetPostingAllowed(true); }
    } pause(*run_.Tick);
    if (run_.Hooks) {
        run_.Hooks->TickStarting();
    }
    UpdateClock(false);
}

void TMasterForm::SysColorChange() {
    facts_.Colours = ReadSystemColours();
    clock_->Rederive(facts_.Colours);
    clock_->BuildDigitImages(facts_);
    UpdateClock(true);
}

void TMasterForm::DisplayChange(WPARAM bitsPerPixel, LPARAM size) {
    const int depthBefore = facts_.ColourDepth;
    ReadDisplayFacts(facts_);
    facts_.ColourDepth = static_cast<int>(bitsPerPixel);
    if (facts_.ColourDepth != depthBefore) {
        menu_->LoadImages(facts_.ColourDepth);
    }
    const ScreenSize reported{LOWORD(size), HIWORD(size)};
    if (AutoSizedFaceFollows(settings_.Design.DigitType, settings_.Design.DigitFontSize, facts_.Screen, reported)) {
        facts_.Screen = reported;
        clock_->BuildDigitImages(facts_);
        UpdateClock(true);
    }
    // The overlays follow the new monitors. The master hears the change once for all of them.
    broadcast_->FollowDisplayChange();
}

void TMasterForm::FormClose() {
    tools_->CloseHelp(); // the help goes first, not left on screen while the settings are written
    WriteAllSettings();
    tray_.reset(); // gives the taskbar its clock back and removes the icon
    DestroyWindow(Handle());
}

// Windows ends the process after this message without closing the window: write now, or
// every change of this run would be lost at logoff or shutdown.
void TMasterForm::FormEndSession(bool ending) {
    if (ending) {
        WriteAllSettings();
        if (tray_) {
            tray_->RestoreTaskbarClock();
        }
    }
}

void TMasterForm::FormDestroy() {
    MarkApplicationTerminating();
    run_.Tick.reset();
    if (adjuster_ && !adjuster_->StopAll(std::chrono::seconds(3))) {
        // A run is held by a server that does not answer, in a call nothing can interrupt. The
        // settings are written and the icon is gone: the process ends now rather than linger
        // unseen until the server gives up.
        ExitProcess(0);
    }
    adjuster_.reset();
    if (sounds_) {
        sounds_->Stop();
    }
    KillTimer(Handle(), ForcedShowTimer);
    if (tools_) {
        tools_->DestroyAll();
    }
    if (broadcast_) {
        broadcast_->DestroyAll();
    }
    tray_.reset();
    clock_.reset();
    PostQuitMessage(0);
}

void TMasterForm::WriteAllSettings() {
    if (run_.SettingsWritten) {
        return;
    }
    run_.SettingsWritten = true;
    // Values that live in the running process rather than in the record.
    const DWORD priority = GetPriorityClass(GetCurrentProcess());
    if (priority != 0) {
        settings_.Boot.Priority = static_cast<int32_t>(priority);
    }
    if (const auto position = clock_ ? clock_->SavedPosition() : std::nullopt) {
        settings_.View.Placement.Left = position->X;
        settings_.View.Placement.Top = position->Y;
    }
    WindowsSettingsPrompts prompts;
    context_.Location->WriteAll(
        prompts, [this](IniDocument& document) { WriteSettings(document, settings_, facts_.DecimalSeparator); });
}

bool TMasterForm::HasIdleWork() const {
    return clock_ && clock_->KeepsInFront();
}

void TMasterForm::ApplicationIdle() {
    if (clock_) {
        clock_->KeepInFront();
    }
}

} // namespace lumora
