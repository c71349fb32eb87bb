#include "settings/Settings.h"

namespace lumora {

std::vector<std::wstring> ViewSettings::DefaultCustomColors() {
    // A grey ramp, 000000 to F0F0F0 in steps of 101010.
    std::vector<std::wstring> colours;
    colours.reserve(CustomColorCount);
    constexpr wchar_t hex[] = L"0123456789ABCDEF";
    for (size_t i = 0; i < CustomColorCount; ++i) {
        colours.emplace_back(6, hex[i]);
        for (size_t j = 1; j < 6; j += 2) {
            colours.back()[j] = L'0';
        }
    }
    return colours;
}

std::array<uint8_t, MinutesPerWeek> ViewSettings::AllMinutesVisible() {
    std::array<uint8_t, MinutesPerWeek> minutes{};
    minutes.fill(1);
    return minutes;
}

std::wstring DefaultToolTipFormat(const SystemDefaults& system) {
    return L"\"Lumora\"\\n" + system.LongDatePattern;
}

Settings DefaultSettings(const SystemDefaults& system) {
    Settings s;
    s.View.CalendarFontName = system.UiFontName;
    s.View.ToolTipFormat = DefaultToolTipFormat(system);
    s.View.TaskTrayToolTipFormat = s.View.ToolTipFormat;
    s.Design.DigitFontName = system.MasterFontName;
    s.Telop.FontName = system.UiFontName;
    return s;
}

} // namespace lumora
