#include "shell/SystemFigures.h"

#include "shell/TooltipFormat.h"

#include <windows.h>
#include <mmsystem.h>

namespace lumora {

std::wstring ExpandFormatNow(const std::wstring& format, double displayed, const LocaleFacts& locale) {
    SystemFigures figures;
    figures.MillisecondsSinceStart = timeGetTime();
    // Read only when the format asks for them.
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
    return ExpandTooltipFormat(format, displayed, figures, locale);
}

} // namespace lumora
