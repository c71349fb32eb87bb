#include "app/MasterForm.h"

#include "app/AppNames.h"
#include "app/SystemFacts.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"
#include "shell/Application.h"
#include "shell/MessageBoxes.h"
#include "tools/SplashForm.h"

#include <mmsystem.h>

#include <stdexcept>

namespace lumora {
namespace {

// Switches only the end-to-end tests set: LUMORA_FAULT=tick raises an error nobody catches,
// LUMORA_TEST_HOOKS=1 lets the tests drive the sound player.
bool EnvironmentSwitch(const wchar_t* name, std::wstring_view expected) {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) && std::wstring_view(value) == expected;
}

void UseExecutableFolderAsCurrent() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    SetCurrentDirectoryW(folder.c_str());
}

BOOL CALLBACK CollectMonitorRect(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
    }
    return TRUE;
}

} // namespace

TMasterForm::TMasterForm(StartupContext& context) : context_(context) {}

std::unique_ptr<TMasterForm> TMasterForm::Create(StartupContext& context, const IniDocument& document) {
    std::unique_ptr<TMasterForm> form(new TMasterForm(context));
    UseExecutableFolderAsCurrent();
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
    if (settings_.Boot.ShowSplash) {
        auto finished = startupFinished_;
        TSplashForm::ShowOnEveryMonitor([finished] { return *finished; });
    }
    ReadDisplay();
    CreateClockWindow();

    decimalSeparator_ = ReadDecimalSeparator();
    LoadSettings(document, settings_, {decimalSeparator_, context_.LayeredWindowsAvailable});
    clock_->SetOptions(ClockWindowOptionsFrom(settings_));
    locale_ = ReadLocaleFacts();
    systemColours_ = ReadSystemColours();
    derived_ = DeriveSettings(settings_, systemColours_);
    BuildDigitImages();
    ReadTimeZoneBias();
    faultOnTick_ = EnvironmentSwitch(L"LUMORA_FAULT", L"tick");
    testHooks_ = EnvironmentSwitch(L"LUMORA_TEST_HOOKS", L"1");
    sound_ = std::make_unique<SoundPlayer>(Handle());

    tick_ = std::make_unique<TickEngine>(Handle(), RegisterWindowMessageW(names::TickMessage));
    tick_->Prepare();
    CreateTaskTrayIcon();
    UpdateClock(true);
    tick_->Start();
    *startupFinished_ = true;
}

LRESULT TMasterForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tick_ && message == tick_->Message()) {
        TickMessage();
        return 0;
    }
    if (message == context_.ShowOptionsMessage && message != 0) {
        ShowOptionsRequested();
        return 0;
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
        SoundNotify(wParam, lParam);
        return 0;
    case WM_TIMER:
        TimerMessage(wParam);
        return 0;
    case TestPlayMessage:
        TestPlay();
        return 0;
    case WM_COPYDATA:
        return testHooks_ ? TestCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : FALSE;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
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
    if (faultOnTick_) {
        throw std::runtime_error("LUMORA_FAULT: an error raised on purpose in the tick handler");
    }
    UpdateClock(false);
}

void TMasterForm::SysColorChange() {
    systemColours_ = ReadSystemColours();
    derived_ = DeriveSettings(settings_, systemColours_);
    BuildDigitImages();
    UpdateClock(true);
}

void TMasterForm::SettingChange() {
    locale_ = ReadLocaleFacts();
    TaskTrayIconRecreate();
}

void TMasterForm::TimeChange() {
    ReadTimeZoneBias();
}

void TMasterForm::DisplayChange(WPARAM bitsPerPixel, LPARAM size) {
    const SIZE oldScreen = screenSize_;
    ReadDisplay();
    colourDepth_ = static_cast<int>(bitsPerPixel);
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    // An automatically sized font follows the screen, but only when both sides changed.
    if (settings_.Design.DigitType == DigitTypeFont && settings_.Design.DigitFontSize == 0 && width != oldScreen.cx &&
        height != oldScreen.cy) {
        screenSize_ = {width, height};
        BuildDigitImages();
        UpdateClock(true);
    } else {
        screenSize_ = oldScreen;
    }
    RebuildCallSigns();
    RebuildLogos();
}

void TMasterForm::PowerBroadcast(WPARAM event) {
    constexpr WPARAM ResumeCritical = 6, ResumeSuspend = 7, ResumeStandby = 8;
    if (event == ResumeCritical || event == ResumeSuspend || event == ResumeStandby) {
        UpdateClock(true);
    }
}

void TMasterForm::ReadTimeZoneBias() {
    TIME_ZONE_INFORMATION zone{};
    const DWORD state = GetTimeZoneInformation(&zone);
    int bias = static_cast<int>(zone.Bias);
    if (state == TIME_ZONE_ID_DAYLIGHT) {
        bias += static_cast<int>(zone.DaylightBias);
    } else if (state == TIME_ZONE_ID_STANDARD) {
        bias += static_cast<int>(zone.StandardBias);
    }
    timeZoneBias_ = bias;
}

void TMasterForm::ReadDisplay() {
    monitorRects_.clear();
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitorRect, reinterpret_cast<LPARAM>(&monitorRects_));
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        colourDepth_ = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    screenSize_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void TMasterForm::FormClose() {
    WriteAllSettings();
    if (settings_.View.HideTaskTrayClock && taskbarClockWasVisible_ && trayIcon_ &&
        trayIcon_->TaskbarClockWindow() != nullptr) {
        ShowWindow(trayIcon_->TaskbarClockWindow(), SW_SHOWNA);
        RefreshNotificationArea();
    }
    trayIcon_.reset();
    DestroyWindow(Handle());
}

// Windows ends the process after this message without closing the window: write now, or
// every change of this run would be lost at logoff or shutdown.
void TMasterForm::FormEndSession(bool ending) {
    if (ending) {
        WriteAllSettings();
    }
}

void TMasterForm::FormDestroy() {
    MarkApplicationTerminating();
    tick_.reset();
    if (sound_) {
        sound_->CloseDevice();
    }
    trayIcon_.reset();
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
    if (clock_ && clock_->ShownOnce()) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(clock_->Handle(), &placement)) {
            settings_.View.Placement.Left = placement.rcNormalPosition.left;
            settings_.View.Placement.Top = placement.rcNormalPosition.top;
        }
    }
    WindowsSettingsPrompts prompts;
    context_.Location->WriteAll(
        prompts, [this](IniDocument& document) { WriteSettings(document, settings_, decimalSeparator_); });
}

} // namespace lumora
