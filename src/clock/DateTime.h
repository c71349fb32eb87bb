#pragma once
// The program's date-time: days since 1899-12-30 as a double, local time unless said otherwise.
// Before 1899-12-30 the integer part counts days back and the fraction still counts the time of
// day forward, so -1.25 is 1899-12-29 06:00 (the Windows/Delphi convention).

#include "settings/Settings.h"

#include <cstdint>
#include <optional>

namespace lumora {

constexpr int32_t MillisecondsPerDay = 24 * 60 * 60 * 1000;

struct DateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    int DayOfWeek = 5; // 0 = Monday ... 6 = Sunday, the order of the week table of visible minutes

    bool operator==(const DateTimeParts&) const = default;
};

// Rounded to the nearest millisecond as a whole, so 59.9995 s carries into the next minute.
DateTimeParts SplitDateTime(double dateTime);

// Fields are expected in their ordinary ranges (month 1-12, day valid for the month, hour 0-23 ...).
double ComposeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// For fields read from outside: empty unless they name a real instant (year 1-9999, the day within
// its month, 00:00:00.000-23:59:59.999).
std::optional<double> TryComposeDateTime(int year, int month, int day, int hour, int minute, int second,
                                         int millisecond);

constexpr double MillisecondsToDays(int milliseconds) {
    return static_cast<double>(milliseconds) / MillisecondsPerDay;
}

} // namespace lumora
