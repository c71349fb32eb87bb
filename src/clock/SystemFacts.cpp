#include "clock/SystemFacts.h"

#include "clock/LocalePatterns.h"
#include "shell/Monitors.h"
#include "shell/UniqueHandle.h"

#include <windows.h>

namespace lumora {
namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[128] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer))) > 0 ? buffer : L"";
}

std::wstring UserInterfaceFontName() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] != L'\0') {
        return metrics.lfMessageFont.lfFaceName;
    }
    return SystemDefaults{}.UiFontName;
}

CalendarType ReadCalendarType() {
    DWORD number = 0;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<wchar_t*>(&number), sizeof(number) / sizeof(wchar_t)) == 0) {
        return CalendarType::Gregorian;
    }
    return static_cast<CalendarType>(number);
}

// Windows keeps the whole era table, start dates included, under this key; the calendar functions
// give names and start years only. Wine has no such key (and its calendar functions give only the
// current era, with a Latin short name), so there the built-in table stays.
std::vector<Era> ReadJapaneseEras() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras", 0,
                      KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return {};
    }
    const UniqueRegistryKey key(opened);
    std::vector<std::pair<std::wstring, std::wstring>> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[32] = {};
        wchar_t data[128] = {};
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD dataSize = sizeof(data) - sizeof(wchar_t); // room for a terminator the value may lack
        DWORD type = 0;
        const LONG result = RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_MORE_DATA) {
            continue; // too long for an era: skipped like any other malformed value
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        if (type == REG_SZ) {
            values.emplace_back(std::wstring(name, nameLength), std::wstring(data));
        }
    }
    return WindowsEraTable(values);
}

} // namespace

SystemDefaults ReadSystemDefaults() {
    SystemDefaults defaults;
    defaults.UiFontName = UserInterfaceFontName();
    defaults.MasterFontName = defaults.UiFontName;
    const std::wstring longDate = LocaleText(LOCALE_SLONGDATE);
    if (!longDate.empty()) {
        defaults.LongDatePattern = TranslateWindowsPattern(longDate, ReadCalendarType());
    }
    return defaults;
}

wchar_t ReadDecimalSeparator() {
    const std::wstring separator = LocaleText(LOCALE_SDECIMAL);
    return separator.empty() ? L'.' : separator[0];
}

SystemColourTable ReadSystemColours() {
    SystemColourTable colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = GetSysColor(static_cast<int>(i));
    }
    return colours;
}

LocaleFacts ReadLocaleFacts() {
    // The Japanese facts stand in for anything the system does not say, the era table included.
    LocaleFacts facts = JapaneseLocaleFacts();
    facts.Calendar = ReadCalendarType();
    if (std::vector<Era> eras = ReadJapaneseEras(); !eras.empty()) {
        facts.Eras = std::move(eras);
    }
    auto take = [](LCTYPE type, std::wstring& target) {
        std::wstring text = LocaleText(type);
        if (!text.empty()) {
            target = std::move(text);
        }
    };
    auto takePattern = [&facts](LCTYPE type, std::wstring& target) {
        const std::wstring text = LocaleText(type);
        if (!text.empty()) {
            target = TranslateWindowsPattern(text, facts.Calendar);
        }
    };
    const std::wstring dateSeparator = LocaleText(LOCALE_SDATE);
    const std::wstring timeSeparator = LocaleText(LOCALE_STIME);
    facts.DateSeparator = dateSeparator.empty() ? L'/' : dateSeparator[0];
    facts.TimeSeparator = timeSeparator.empty() ? L':' : timeSeparator[0];
    takePattern(LOCALE_SSHORTDATE, facts.ShortDatePattern);
    takePattern(LOCALE_SLONGDATE, facts.LongDatePattern);
    takePattern(LOCALE_SSHORTTIME, facts.ShortTimePattern);
    takePattern(LOCALE_STIMEFORMAT, facts.LongTimePattern);
    // Windows counts days from Monday; the names here start on Sunday.
    for (int day = 0; day < 7; ++day) {
        const int windowsDay = (day + 6) % 7;
        take(LOCALE_SDAYNAME1 + windowsDay, facts.LongDayNames[static_cast<size_t>(day)]);
        take(LOCALE_SABBREVDAYNAME1 + windowsDay, facts.ShortDayNames[static_cast<size_t>(day)]);
    }
    for (int month = 0; month < 12; ++month) {
        take(LOCALE_SMONTHNAME1 + month, facts.LongMonthNames[static_cast<size_t>(month)]);
        take(LOCALE_SABBREVMONTHNAME1 + month, facts.ShortMonthNames[static_cast<size_t>(month)]);
    }
    take(LOCALE_S1159, facts.TimeAmString);
    take(LOCALE_S2359, facts.TimePmString);
    return facts;
}

UserInterfaceFeatures ReadUserInterfaceFeatures() {
    UserInterfaceFeatures features;
    // user32 stays loaded by the program itself, so the addresses outlive this handle.
    const UniqueModule user32(LoadLibraryW(L"user32.dll"));
    if (!user32) {
        return features;
    }
    features.LayeredWindows = GetProcAddress(user32.Get(), "UpdateLayeredWindow") != nullptr;
    features.DrawTextW = reinterpret_cast<UserInterfaceFeatures::DrawTextWFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32.Get(), "DrawTextW")));
    return features;
}

} // namespace lumora

namespace lumora {

void ReadDisplayFacts(SystemFacts& facts) {
    facts.MonitorRects.clear();
    for (const MonitorArea& monitor : EnumerateMonitors()) {
        const RECT& r = monitor.Bounds;
        facts.MonitorRects.push_back({r.left, r.top, r.right, r.bottom});
    }
    if (HDC screen = GetDC(nullptr)) {
        facts.ColourDepth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        facts.Dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
}

ScreenSize ReadScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int ReadTimeZoneBias() {
    TIME_ZONE_INFORMATION zone{};
    const DWORD state = GetTimeZoneInformation(&zone);
    return TimeZoneBiasMinutes(static_cast<int>(zone.Bias), static_cast<int>(zone.StandardBias),
                               static_cast<int>(zone.DaylightBias),
                               state == TIME_ZONE_ID_DAYLIGHT   ? TimeZoneState::Daylight
                               : state == TIME_ZONE_ID_STANDARD ? TimeZoneState::Standard
                                                                : TimeZoneState::Unknown);
}

SystemFacts ReadSystemFacts() {
    SystemFacts facts;
    ReadDisplayFacts(facts);
    facts.Screen = ReadScreenSize();
    facts.TimeZoneBias = ReadTimeZoneBias();
    facts.Locale = ReadLocaleFacts();
    facts.Colours = ReadSystemColours();
    facts.DecimalSeparator = ReadDecimalSeparator();
    return facts;
}

} // namespace lumora
