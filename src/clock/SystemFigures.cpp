#include "clock/SystemFigures.h"

#include "clock/TooltipFormat.h"

#include <windows.h>
#include <mmsystem.h>

namespace lumora {

SystemFigures CurrentSystemFigures() {
    SystemFigures figures;
    figures.MillisecondsSinceStart = timeGetTime();
    figures.Memory = [] {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        GlobalMemoryStatusEx(&status);
        return MemoryFigures{status.ullTotalPhys,    status.ullAvailPhys,     status.ullTotalVirtual,
                             status.ullAvailVirtual, status.ullTotalPageFile, status.ullAvailPageFile};
    };
    figures.Power = []() -> std::optional<PowerStatus> {
        SYSTEM_POWER_STATUS status{};
        if (!GetSystemPowerStatus(&status)) {
            return std::nullopt;
        }
        return PowerStatus{status.ACLineStatus, status.BatteryFlag, status.BatteryLifePercent};
    };
    return figures;
}

std::wstring ExpandFormatNow(const std::wstring& format, double displayed, const LocaleFacts& locale) {
    return ExpandTooltipFormat(format, displayed, CurrentSystemFigures(), locale);
}

} // namespace lumora
