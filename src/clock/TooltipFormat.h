#pragma once
// The format language of tooltips and announcements: escapes (\n \t \m \p, then \o \d) and then
// date-time formatting. Memory and power figures come in from the shell, which reads them only
// when the format asks for them.

#include "clock/DateTimeFormat.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

struct MemoryFigures {
    uint64_t TotalPhys = 0;
    uint64_t AvailPhys = 0;
    uint64_t TotalVirtual = 0;
    uint64_t AvailVirtual = 0;
    uint64_t TotalPageFile = 0;
    uint64_t AvailPageFile = 0;
};

// As GetSystemPowerStatus gives them.
struct PowerStatus {
    uint8_t ACLineStatus = 255;       // 0 off, 1 on, 2 UPS, 255 unknown
    uint8_t BatteryFlag = 255;        // bit 3 charging, bit 7 no battery, 255 unknown
    uint8_t BatteryLifePercent = 255; // 0-100, 255 unknown
};

struct SystemFigures {
    uint32_t MillisecondsSinceStart = 0; // timeGetTime
    // Asked at most once per expansion, and only when the format holds \m or \p. An empty
    // function, or no power status, leaves the escape as written.
    std::function<MemoryFigures()> Memory;
    std::function<std::optional<PowerStatus>()> Power;
};

// \n line break, \t time since start, \m memory, \p power.
std::wstring ExpandTextEscapes(std::wstring_view text, const SystemFigures& figures);

// \o old month name, \d weekday ordinal within the month.
std::wstring ExpandDateEscapes(std::wstring_view text, double dateTime);

// Both escape stages, then FormatDateTime with the same date-time.
std::wstring ExpandTooltipFormat(std::wstring_view format, double dateTime, const SystemFigures& figures,
                                 const LocaleFacts& locale);

// A byte count as "1.50 KB", "97.7 MB", "977 GB" (binary multiples from 1000 units on), or "999 B".
std::wstring FormatByteSize(uint64_t bytes);

// free / total in whole percent, halves away from zero; 0 when the total is 0.
int WholePercent(uint64_t part, uint64_t whole);

// The texts for \m and \p without their quotes.
std::wstring MemoryText(const MemoryFigures& memory);
std::wstring PowerText(const PowerStatus& power);

struct NotificationText {
    std::wstring Title;
    std::wstring Body;

    bool operator==(const NotificationText&) const = default;
};

// "title|body" becomes "Lumora - title" and "body". Without a bar, or with nothing before it,
// the title is the program's name alone and the whole text (after the bar) is the body.
NotificationText SplitNotification(std::wstring_view text);

} // namespace lumora
