// Program entry: one instance per logon, the settings file, the boot delay and priority, then
// the master window and the message loop; or, started with the clock-setting mode's switch, only
// that mode.

#include "adjust/ClockPrivilege.h"
#include "adjust/ElevatedClockSet.h"
#include "shell/AppNames.h"
#include "app/MasterForm.h"
#include "clock/SystemFacts.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"
#include "shell/ComApartment.h"
#include "shell/Foreground.h"
#include "shell/MessageBoxes.h"
#include "shell/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

// The named mutex that marks the running instance; created owned, released at the end.
class InstanceMutex {
public:
    InstanceMutex() : handle_(CreateMutexW(nullptr, TRUE, names::InstanceMutex)) {
        alreadyExisted_ = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    ~InstanceMutex() {
        if (handle_) {
            ReleaseMutex(handle_.Get());
        }
    }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    explicit operator bool() const { return static_cast<bool>(handle_); }
    bool AlreadyExisted() const { return alreadyExisted_; }

private:
    UniqueMutex handle_;
    bool alreadyExisted_ = false;
};

// A second start hands over to the running instance: its options dialog comes forward, or it
// is asked to open it. The user started this copy, so this copy may take the foreground; the
// running one, a background process, may only when this copy lets it.
void SignalRunningInstance() {
    if (HWND options = FindWindowW(names::OptionFormClass, nullptr)) {
        AllowForegroundTo(options);
        SetForegroundWindow(options);
        return;
    }
    if (HWND master = FindWindowW(names::MasterFormClass, nullptr)) {
        AllowForegroundTo(master);
        PostMessageW(master, RegisterWindowMessageW(names::ShowOptionsMessage), 0, 0);
    }
}

// The dialog lets the user pick 100 to 60000 ms; a value edited by hand must not stall the start.
constexpr int32_t MaxBootDelay = 60000;

// The next message to dispatch; false at WM_QUIT. When the master has idle work, the queue is
// drained first and the work runs each time it runs empty; otherwise GetMessage waits and fetches
// in one go, which saves the window server a request on every tick.
bool NextMessage(TMasterForm& master, MSG& message) {
    if (!master.HasIdleWork()) {
        return GetMessageW(&message, nullptr, 0, 0) > 0; // -1 only comes with a bad window filter
    }
    while (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        master.ApplicationIdle();
        WaitMessage();
    }
    return message.message != WM_QUIT;
}

int RunMessageLoop(TMasterForm& master) {
    MSG message{};
    while (NextMessage(master, message)) {
        if (TKZForm::PreTranslate(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// The copy started with administrator rights to set the clock: it decides on its arguments alone,
// before anything of a normal start (the mutex, the settings file, a window) is touched.
std::optional<int> RunClockSettingMode() {
    const std::vector<std::wstring> arguments = CommandLineArguments();
    const ElevatedSetCommand command = ParseElevatedSetCommand(arguments);
    switch (command.Mode) {
    case ElevatedSetMode::NormalStart:
        return std::nullopt;
    case ElevatedSetMode::Set:
        return static_cast<int>(ApplyElevatedCorrection(command.CorrectionMs));
    case ElevatedSetMode::BadArguments:
        break;
    }
    return static_cast<int>(ElevatedSetExit::BadArguments);
}

int Run() {
    if (const std::optional<int> exitCode = RunClockSettingMode()) {
        return *exitCode;
    }
    InstanceMutex mutex;
    if (!mutex) {
        // Another program holds the name, or the system is out of handles: nothing can run.
        ShowResourceMessage(nullptr, IDS_INSTANCE_MUTEX_FAILED, MB_ICONERROR | MB_SETFOREGROUND);
        return 1;
    }

    WindowsSettingsStorage storage;
    SettingsLocation location(LocateSettingsFiles(), storage);
    WindowsSettingsPrompts prompts;
    IniDocument document;
    if (!location.ReadAtStart(prompts, document)) {
        return 0;
    }

    StartupContext context;
    context.Location = &location;
    LoadBootSettings(document, context.Boot);
    if (mutex.AlreadyExisted() && !context.Boot.NoCheckDuplicate) {
        SignalRunningInstance();
        return 0;
    }
    if (context.Boot.BootDelay) {
        Sleep(static_cast<DWORD>(std::clamp(context.Boot.BootDelayValue, 0, MaxBootDelay)));
    }
    SetPriorityClass(GetCurrentProcess(), static_cast<DWORD>(context.Boot.Priority));

    const ComApartment apartment; // for ShellExecute, the shell's dialogs and links
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const UserInterfaceFeatures features = ReadUserInterfaceFeatures();
    context.LayeredWindowsAvailable = features.LayeredWindows;
    context.DrawTextW = features.DrawTextW;
    context.ShowOptionsMessage = RegisterWindowMessageW(names::ShowOptionsMessage);

    auto master = TMasterForm::Create(context, document);
    if (!master) {
        ShowResourceMessage(nullptr, IDS_MASTER_WINDOW_FAILED, MB_ICONERROR | MB_SETFOREGROUND);
        return 1;
    }
    return RunMessageLoop(*master);
}

} // namespace
} // namespace lumora

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return lumora::Run();
    } catch (const std::exception& e) {
        lumora::ShowFatalError(e.what());
    } catch (...) {
        lumora::ShowFatalError("unknown error");
    }
}
