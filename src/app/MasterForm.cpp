#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "shell/AppNames.h"
#include "clock/TimeText.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"
#include "shell/Application.h"
#include "shell/ExecutablePath.h"
#include "shell/MessageBoxes.h"
#include "shell/Monitors.h"
#include "shell/PathText.h"
#include "tools/SplashForm.h"

#include <mmsystem.h>

#include <stdexcept>
#include <utility>

namespace lumora {
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
    if (settings_.Boot.ShowSplash) {
        ShowSplashes();
    }
    CreateParts();
    LoadSettings(document, settings_, {facts_.DecimalSeparator, context_.LayeredWindowsAvailable});
    derived_ = DeriveSettings(settings_, facts_.Colours);
    clock_->ApplyWindowSettings();
    clock_->BuildDigitImages(facts_);
    tray_->ApplyIconSetting();
    CreateClockSetter();
    StartTick();
    *startupFinished_ = true;
    for (const WPARAM command : std::exchange(commandsDuringStartup_, {})) {
        PostMessageW(Handle(), WM_COMMAND, command, 0);
    }
}

// One splash per monitor; one that fails is left out and start-up goes on.
void TMasterForm::ShowSplashes() {
    const bool fade = TSplashForm::FadeEnabled();
    auto finished = startupFinished_;
    for (const MonitorArea& monitor : EnumerateMonitors()) {
        windows_.Adopt(WindowKind::Splash, TSplashForm::Create(monitor.Work, fade, [finished] { return *finished; }));
    }
}

void TMasterForm::CreateParts() {
    ClockWindowEvents clockEvents;
    clockEvents.Click = [this] { TaskTrayIconClick(ClickSender::Clock); };
    clockEvents.PopupMenu = [this](POINT point) { ShowPopupMenu(point); };
    clockEvents.MouseEntered = [this] {
        if (tick_) {
            PostMessageW(Handle(), tick_->Message(), 0, 0);
        }
    };
    clock_ =
        ClockDisplay::Create(Handle(), settings_, derived_, context_.LayeredWindowsAvailable, std::move(clockEvents));
    if (!clock_) {
        throw std::runtime_error("the clock window could not be created");
    }
    sound_ = std::make_unique<SoundPlayer>(Handle());
    signal_ = std::make_unique<HourlySignal>(*sound_, Handle());
    afterPass_ = std::make_unique<AfterPass>(Handle(), AfterPassMessage);
    countdown_ = std::make_unique<CountdownTimer>();
    standIn_ = TMasterStandIn::Create(Handle());
    if (!standIn_) {
        throw std::runtime_error("the menu's owner window could not be created");
    }
    menu_ = std::make_unique<PopupMenu>(standIn_->Handle());
    menu_->LoadImages(facts_.ColourDepth);
    NotificationAreaEvents trayEvents;
    trayEvents.Click = [this] { TaskTrayIconClick(ClickSender::Icon); };
    trayEvents.DoubleClick = [this] { TaskTrayIconDblClick(); };
    trayEvents.SingleClick = [this] { CalendarActionExecute(); };
    trayEvents.BalloonClick = [this] { TaskTrayIconBalloonClick(); };
    trayEvents.Recreated = [this] { tray_->RecheckTaskbarClock(clock_->Shown()); };
    trayEvents.ContextMenu = [this](POINT point) { ShowPopupMenu(point); };
    tray_ = std::make_unique<NotificationArea>(settings_, Handle(), SingleClickTimer, std::move(trayEvents));
    testHooks_ = TestHooks::FromEnvironment(
        {.Master = Handle(),
         .Sound = sound_.get(),
         .ShowNotification =
             [this](const std::wstring& text, int balloonKind, int beepKind) {
                 tray_->ShowNotification(text, balloonKind, beepKind, clock_->Window());
             },
         .ApplySettingsText = [this](const std::wstring& text) { ApplySettingsText(text); },
         .ShowTelop = [this](const std::wstring& text, bool allowSound) { ShowTelop(text, allowSound); },
         .DescribeOpenMenu = [this] { return DescribeMenu(menu_->OpenMenu()); },
         .StartAdjust =
             [this](int kind, int source) {
                 const auto from = static_cast<AdjustSource>(source);
                 clockSetter_->Start(from,
                                     MakeAdjustRequest(from, static_cast<AdjustKind>(kind), settings_.AdjustClock));
             },
         .FullRedraws = [this] { return clock_ ? clock_->FullRedraws() : 0; },
         .TrayIconState = [this] { return tray_->IconShown()        ? 1
                                          : tray_->IconAddPending() ? 2
                                                                    : 0; },
         .TrayIconWidth = [this] { return tray_->IconWidth(); },
         .DescribeElevatedSet =
             [this] {
                 return lastElevatedSet_
                            ? lastElevatedSet_->Arguments + L"\r\n" + std::to_wstring(lastElevatedSet_->StartError) +
                                  L"\r\n" + std::to_wstring(lastElevatedSet_->ExitCode)
                            : std::wstring();
             }});
    if (testHooks_) {
        testPattern_.SetRefusal([hooks = testHooks_.get()](int index) { return hooks->TestPatternRefused(index); });
    }
    AllowMessagesFromOtherPrograms();
}

// Windows holds back a message from a process of lower integrity than the window's, so while the
// program runs with administrator rights what the shell and a second start send would never
// arrive. (The icon's window lets the shell's messages through itself.)
void TMasterForm::AllowMessagesFromOtherPrograms() {
    for (const UINT message : {context_.ShowOptionsMessage, RegisterWindowMessageW(names::TaskbarCreatedMessage)}) {
        ChangeWindowMessageFilterEx(Handle(), message, MSGFLT_ALLOW, nullptr);
    }
    if (testHooks_ && testHooks_->AcceptsCommands()) {
        ChangeWindowMessageFilterEx(Handle(), WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    }
}

void TMasterForm::StartTick() {
    tick_ = std::make_unique<TickEngine>(Handle(), RegisterWindowMessageW(names::TickMessage));
    tick_->Prepare();
    UpdateClock(true);
    const bool allowed = !testHooks_ || testHooks_->TickMayStart();
    if (!allowed || !tick_->Start()) {
        // A clock that never moves is worse than none: say so and end the run.
        ShowResourceMessage(nullptr, IDS_TICK_FAILED, MB_ICONERROR | MB_SETFOREGROUND);
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

LRESULT TMasterForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tick_ && message == tick_->Message()) {
        TickMessage();
        return 0;
    }
    if (message == context_.ShowOptionsMessage && message != 0) {
        RunCommand(CommandId::Option);
        return 0;
    }
    if (clockSetter_ && clockSetter_->HandleMessage(message)) {
        return 0;
    }
    if (testHooks_) {
        if (const auto result = testHooks_->HandleMessage(message, wParam, lParam)) {
            return *result;
        }
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
            if (!*startupFinished_) {
                commandsDuringStartup_.push_back(wParam);
                return 0;
            }
            // The menu's own choices come this way too; another program's only reach a command
            // the menu would offer now.
            const auto command = static_cast<CommandId>(LOWORD(wParam));
            if (CommandAccepted(command, settings_, CurrentMenuContext())) {
                RunCommand(command);
            }
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
        DefaultHandler(message, wParam, lParam);
        SysColorChange();
        return 0;
    case WM_SETTINGCHANGE:
        DefaultHandler(message, wParam, lParam);
        SettingChange();
        return 0;
    case WM_TIMECHANGE:
        DefaultHandler(message, wParam, lParam);
        TimeChange();
        return 0;
    case WM_DISPLAYCHANGE:
        DefaultHandler(message, wParam, lParam);
        DisplayChange(wParam, lParam);
        return 0;
    case WM_POWERBROADCAST:
        DefaultHandler(message, wParam, lParam);
        PowerBroadcast(wParam);
        return TRUE;
    case MM_MCINOTIFY:
        SoundNotify(wParam);
        return 0;
    case AfterPassMessage:
        afterPass_->Run();
        return 0;
    case WM_TIMER:
        TimerMessage(wParam);
        return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: {
        LRESULT result = 0;
        if (menu_ && menu_->HandleMessage(message, lParam, result)) {
            return result;
        }
        break;
    }
    case WM_MENUCHAR:
        if (menu_) {
            return menu_->MenuChar(LOWORD(wParam), reinterpret_cast<HMENU>(lParam));
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

// One pass: the displayed time, the tooltips, the temporary display, then the clock decides,
// draws and pushes.
void TMasterForm::UpdateClock(bool fullRedraw) {
    if (!clock_ || !tray_ || !clockSetter_) {
        return; // still starting, or already closing
    }
    const double now = LocalNow();
    clockSetter_->Tick(settings_.AdjustClock, now);
    const double displayed = DisplayedTime(now, settings_.WorldClock, facts_.TimeZoneBias);
    const DateTimeParts taken = SplitDateTime(displayed);
    TimerStep(displayed, taken);
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
    SoundTheHour(pass);
    if (!firstPassDone_) {
        firstPassDone_ = true;
        RebuildLogos();
        RebuildCallSigns();
    }
    if (decision.FirstShow && settings_.Omake.OmakeWindow) {
        ShowOmakeWindows();
    }
    windows_.ReleaseClosed();
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
    } pause(*tick_);
    if (testHooks_) {
        testHooks_->TickStarting();
    }
    UpdateClock(false);
}

void TMasterForm::SysColorChange() {
    facts_.Colours = ReadSystemColours();
    derived_ = DeriveSettings(settings_, facts_.Colours);
    clock_->BuildDigitImages(facts_);
    UpdateClock(true);
}

void TMasterForm::SettingChange() {
    facts_.Locale = ReadLocaleFacts();
    tray_->RecheckTaskbarClock(clock_->Shown());
}

void TMasterForm::TimeChange() {
    facts_.TimeZoneBias = ReadTimeZoneBias();
    RefreshCalendar();
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
    testPattern_.Close();
    RebuildCallSigns();
    RebuildLogos();
}

void TMasterForm::PowerBroadcast(WPARAM event) {
    constexpr WPARAM ResumeCritical = 6, ResumeSuspend = 7, ResumeStandby = 8;
    if (event == ResumeCritical || event == ResumeSuspend || event == ResumeStandby) {
        UpdateClock(true);
    }
}

void TMasterForm::SoundNotify(WPARAM flags) {
    // A failed play also ends: left open, the device would count as playing for ever.
    if (flags != MCI_NOTIFY_SUCCESSFUL && flags != MCI_NOTIFY_FAILURE) {
        return;
    }
    const bool mastersSound = sound_->CaptionButton() == Handle();
    CloseSound();
    if (mastersSound) {
        signal_->SoundEnded(flags == MCI_NOTIFY_SUCCESSFUL);
    }
}

void TMasterForm::CloseSound() {
    sound_->CloseDevice();
    if (sound_->CaptionButton() == Handle()) {
        sound_->ClearCaptionButton();
    }
}

void TMasterForm::TimerMessage(WPARAM id) {
    if (id == ForcedShowTimer) {
        if (!clock_->ForcedShowTick()) {
            KillTimer(Handle(), ForcedShowTimer);
        }
    } else if (id == SingleClickTimer) {
        tray_->SingleClickTimerFired();
    }
}

void TMasterForm::FormClose() {
    help_.CloseAll(); // the help goes first, not left on screen while the settings are written
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
    tick_.reset();
    if (clockSetter_ && !clockSetter_->StopAll(std::chrono::seconds(3))) {
        // A run is held by a server that does not answer, in a call nothing can interrupt. The
        // settings are written and the icon is gone: the process ends now rather than linger
        // unseen until the server gives up.
        ExitProcess(0);
    }
    clockSetter_.reset();
    if (sound_) {
        sound_->CloseDevice();
    }
    KillTimer(Handle(), ForcedShowTimer);
    windows_.DestroyAll();
    tray_.reset();
    clock_.reset();
    PostQuitMessage(0);
}

void TMasterForm::WriteAllSettings() {
    if (settingsWritten_) {
        return;
    }
    settingsWritten_ = true;
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
