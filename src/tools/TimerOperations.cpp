#include "tools/TimerOperations.h"

#include "shell/TestFaults.h"
#include "shell/UniqueHandle.h"

#include <reason.h>
#include <shellapi.h>

#include <cstddef>

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

// SYSTEM_POWER_CAPABILITIES as Windows 8 and later fill it; older SDK headers still call the bytes
// from Hiberboot to AoAc spare.
struct PowerCapabilitiesRecord {
    BOOLEAN PowerButtonPresent, SleepButtonPresent, LidPresent;
    BOOLEAN SystemS1, SystemS2, SystemS3, SystemS4, SystemS5;
    BOOLEAN HiberFilePresent, FullWake, VideoDimPresent, ApmPresent, UpsPresent, ThermalControl, ProcessorThrottle;
    BYTE ProcessorMinThrottle, ProcessorMaxThrottle;
    BOOLEAN FastSystemS4, Hiberboot, WakeAlarmPresent, AoAc, DiskSpinDown;
    BYTE HiberFileType;
    BOOLEAN AoAcConnectivitySupported;
    BYTE Spare[6];
    BOOLEAN SystemBatteriesPresent, BatteriesAreShortTerm;
    BATTERY_REPORTING_SCALE BatteryScale[3];
    SYSTEM_POWER_STATE AcOnLineWake, SoftLidWake, RtcWake, MinDeviceWakeState, DefaultLowLatencyWake;
};
static_assert(sizeof(PowerCapabilitiesRecord) == sizeof(SYSTEM_POWER_CAPABILITIES));
static_assert(offsetof(PowerCapabilitiesRecord, AoAc) == 0x14);

} // namespace

PowerCapabilities ReadPowerCapabilities() {
    using GetPwrCapabilitiesFunction = BOOLEAN(WINAPI*)(PSYSTEM_POWER_CAPABILITIES);
    const UniqueModule library(LoadLibraryW(L"powrprof.dll"));
    const auto getPwrCapabilities = library ? reinterpret_cast<GetPwrCapabilitiesFunction>(reinterpret_cast<void*>(
                                                  GetProcAddress(library.Get(), "GetPwrCapabilities")))
                                            : nullptr;
    PowerCapabilities power;
    PowerCapabilitiesRecord record{};
    if (getPwrCapabilities != nullptr && getPwrCapabilities(reinterpret_cast<PSYSTEM_POWER_CAPABILITIES>(&record))) {
        power.Known = true;
        power.ClassicSleep = record.SystemS1 || record.SystemS2 || record.SystemS3;
        power.Hibernation = record.SystemS4 && record.HiberFilePresent;
        power.ModernStandby = record.AoAc != FALSE;
    }
    // For the tests: a computer of modern standby, whose sleep no application can ask for, and
    // one whose hibernation is switched off.
    if (TestFault(L"modern-standby")) {
        power.Known = true;
        power.ClassicSleep = false;
        power.ModernStandby = true;
    }
    if (TestFault(L"no-hibernate")) {
        power.Known = true;
        power.Hibernation = false;
    }
    return power;
}

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
    // Asked of a computer without that state, Windows hibernates instead or does nothing at all.
    if (!TimerOperationOffered(hibernate ? TimerOperation::Hibernate : TimerOperation::Standby,
                               ReadPowerCapabilities())) {
        return PowerOutcome::Failed;
    }
    if (!EnableShutdownPrivilege()) {
        return PowerOutcome::NoPrivilege;
    }
    return Suspend(hibernate) ? PowerOutcome::Done : PowerOutcome::Failed;
}

} // namespace lumora
