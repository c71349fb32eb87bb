#pragma once
// Date-time formatting with the classic pattern letters (c, d, e, g, m, y, h, n, s, z, t, am/pm,
// a/p, ampm, "/" and ":"), from a date-time and the locale facts the shell reads from the system.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct Era {
    std::wstring Name;      // gg
    std::wstring ShortName; // g
    int StartYear = 1;
    int StartMonth = 1;
    int StartDay = 1;
};

// The user's calendar, by Windows' number for it. Only the era calendar changes what the system's
// patterns mean; any other number formats as the Gregorian one.
enum class CalendarType : int { Gregorian = 1, JapaneseEra = 3 };

// Patterns are in the program's letters already (see TranslateWindowsPattern).
struct LocaleFacts {
    CalendarType Calendar = CalendarType::Gregorian;
    wchar_t DateSeparator = L'/'; // L'\0' writes nothing
    wchar_t TimeSeparator = L':';
    std::wstring ShortDatePattern;
    std::wstring LongDatePattern;
    std::wstring ShortTimePattern;
    std::wstring LongTimePattern;
    std::array<std::wstring, 7> ShortDayNames; // Sunday first
    std::array<std::wstring, 7> LongDayNames;
    std::array<std::wstring, 12> ShortMonthNames; // January first
    std::array<std::wstring, 12> LongMonthNames;
    std::wstring TimeAmString;
    std::wstring TimePmString;
    // Any order. The earliest era also covers everything before it (years 0 and below); with no
    // eras g writes nothing and e the Gregorian year.
    std::vector<Era> Eras;
};

// The facts of a Japanese system, also the fallback when the system cannot be read.
LocaleFacts JapaneseLocaleFacts();

// Any pattern and any date-time are safe: NaN and far-off dates are clamped by SplitDateTime,
// and a pattern named inside a locale pattern writes nothing, so one that names itself ends.
std::wstring FormatDateTime(std::wstring_view pattern, double dateTime, const LocaleFacts& locale);

} // namespace lumora
