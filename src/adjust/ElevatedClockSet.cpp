#include "adjust/ElevatedClockSet.h"

#include "adjust/ClockPrivilege.h"
#include "adjust/SystemClock.h"
#include "shell/ComApartment.h"
#include "shell/ExecutablePath.h"
#include "shell/UniqueHandle.h"

#include <shellapi.h>

#include <array>

namespace lumora {

ElevatedSetRun RunElevatedCopy(HWND owner, const std::wstring& arguments, WorkerContext& context) {
    ElevatedSetRun run{.Arguments = arguments};
    const ComApartment apartment; // the shell may hand the verb to an extension
    const std::wstring executable = ExecutablePath();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = executable.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_HIDE;
    // Returns once the user has answered the consent prompt: ERROR_CANCELLED when turned down.
    if (!ShellExecuteExW(&info)) {
        run.StartError = GetLastError();
        return run;
    }
    const UniqueEvent process(info.hProcess);
    const UniqueEvent stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!process || !stop) {
        run.StartError = ERROR_INVALID_HANDLE;
        return run;
    }
    if (context.SetCancel([event = stop.Get()] { SetEvent(event); })) {
        const std::array<HANDLE, 2> handles{process.Get(), stop.Get()};
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        context.SetCancel(nullptr);
    }
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.Get(), &exitCode);
    run.ExitCode = exitCode;
    return run;
}

uint32_t ApplyElevatedCorrection(int64_t correctionMs) {
    const double target = UtcNow() + static_cast<double>(correctionMs) / MillisecondsPerDay;
    switch (SetSystemUtc(target)) {
    case ClockSetError::None:
        return static_cast<uint32_t>(ElevatedSetExit::Done);
    case ClockSetError::NoPrivilege:
        return static_cast<uint32_t>(ElevatedSetExit::NoPrivilege);
    case ClockSetError::Other:
        break;
    }
    return static_cast<uint32_t>(ElevatedSetExit::Failed);
}

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    if (list == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(list[i]);
    }
    LocalFree(list);
    return arguments;
}

} // namespace lumora
