#include "clock/SystemRules.h"

#include "settings/Settings.h"

namespace lumora {

int TimeZoneBiasMinutes(int bias, int standardBias, int daylightBias, TimeZoneState state) {
    switch (state) {
    case TimeZoneState::Daylight:
        return bias + daylightBias;
    case TimeZoneState::Standard:
        return bias + standardBias;
    case TimeZoneState::Unknown:
        break;
    }
    return bias;
}

bool AutoSizedFaceFollows(int digitType, int digitFontSize, ScreenSize stored, ScreenSize reported) {
    return digitType == DigitTypeFont && digitFontSize == 0 && reported.Width != stored.Width &&
           reported.Height != stored.Height;
}

std::wstring TimeDateCommandLine(const std::wstring& systemFolder, const std::wstring& windowsFolder,
                                 const std::function<bool(const std::wstring&)>& exists) {
    const std::wstring panel = systemFolder + L"\\timedate.cpl";
    for (const std::wstring& folder : {systemFolder, windowsFolder}) {
        const std::wstring rundll = folder + L"\\rundll32.exe";
        if (exists(rundll)) {
            return rundll + L" " + systemFolder + L"\\shell32.dll,Control_RunDLL " + panel;
        }
    }
    return windowsFolder + L"\\control.exe " + panel;
}

} // namespace lumora
