#include "tools/TimerOperations.h"

#include "shell/UniqueHandle.h"

#include <reason.h>
#include <shellapi.h>

namespace lumora {
namespace {

bool EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return false;
    }
    const UniqueHandle<KernelHandleTraits> owner(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        return false;
    }
    return AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) != FALSE;
}

// Windows Vista and later suspend through the power profile library; older ones only through
// SetSystemPowerState.
bool Suspend(bool hibernate) {
    using SetSuspendStateFunction = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWake);
    const UniqueModule library(LoadLibraryW(L"powrprof.dll"));
    const auto setSuspendState = library ? reinterpret_cast<SetSuspendStateFunction>(reinterpret_cast<void*>(
                                               GetProcAddress(library.Get(), "SetSuspendState")))
                                         : nullptr;
    if (setSuspendState != nullptr) {
        return setSuspendState(hibernate, TRUE, FALSE) != FALSE;
    }
    return SetSystemPowerState(!hibernate, TRUE) != FALSE;
}

} // namespace

bool OpenTimerProgram(const std::wstring& program) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

PowerOutcome ShutDownWindows(bool force) {
    if (!EnableShutdownPrivilege()) {
        return PowerOutcome::NoPrivilege;
    }
    const UINT flags = EWX_POWEROFF | (force ? EWX_FORCE : 0);
    return ExitWindowsEx(flags, SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_FLAG_CLEAN_UI) ? PowerOutcome::Done
                                                                                        : PowerOutcome::Failed;
}

PowerOutcome SuspendWindows(bool hibernate) {
    if (!EnableShutdownPrivilege()) {
        return PowerOutcome::NoPrivilege;
    }
    return Suspend(hibernate) ? PowerOutcome::Done : PowerOutcome::Failed;
}

} // namespace lumora
