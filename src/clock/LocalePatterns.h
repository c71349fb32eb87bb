#pragma once
// Windows gives its date and time patterns in its own letters (M month, H 24-hour hour,
// tt am/pm); the program formats with the classic letters (m month, n minute, ampm).
// Windows also keeps the Japanese era table, as registry values; they become Era records here.

#include "clock/DateTimeFormat.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora {

// Under the Japanese era calendar a Windows y is the year of the era and g the era's full name.
std::wstring TranslateWindowsPattern(std::wstring_view windowsPattern, CalendarType calendar = CalendarType::Gregorian);

// Values as Windows stores them: name "1989 01 08" (the era's first day), data "平成_平_Heisei_H"
// (name, short name, English name, English short name). Malformed values are skipped; the result
// is empty when fewer than four eras remain, so the caller keeps its own table.
std::vector<Era> WindowsEraTable(const std::vector<std::pair<std::wstring, std::wstring>>& values);

} // namespace lumora
