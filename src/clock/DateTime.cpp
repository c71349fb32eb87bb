#include "clock/DateTime.h"

#include <cmath>
#include <cstdlib>

namespace lumora {
namespace {

// Day 0 of the program's count, as days since 1970-01-01.
constexpr int64_t EpochOffset = -25569;

// Beyond about 27,000 years either way nothing is meaningful; the clamp keeps the arithmetic
// defined for garbage read from a settings file.
constexpr double DayLimit = 1.0e7;

// Proleptic Gregorian calendar from days since 1970-01-01 (H. Hinnant's civil_from_days).
void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

DateTimeParts SplitDateTime(double dateTime) {
    if (!std::isfinite(dateTime)) {
        dateTime = 0.0;
    }
    dateTime = std::fmax(-DayLimit, std::fmin(DayLimit, dateTime));

    // Rounding the whole count, not each field, is what keeps 999.6 ms from becoming 1000 ms.
    const int64_t total = std::llround(dateTime * MillisecondsPerDay);
    const int64_t days = total / MillisecondsPerDay; // toward zero: -0.5 is still day 0
    const int64_t time = std::llabs(total) % MillisecondsPerDay;

    DateTimeParts p;
    CivilFromDays(days + EpochOffset, p.Year, p.Month, p.Day);
    p.Hour = static_cast<int>(time / 3600000);
    p.Minute = static_cast<int>(time / 60000 % 60);
    p.Second = static_cast<int>(time / 1000 % 60);
    p.Millisecond = static_cast<int>(time % 1000);
    // Day 0 was a Saturday, index 5 with Monday first.
    p.DayOfWeek = static_cast<int>(((days + 5) % 7 + 7) % 7);
    return p;
}

double ComposeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const auto date = static_cast<double>(DaysFromCivil(year, month, day) - EpochOffset);
    const double time =
        static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MillisecondsPerDay;
    return date >= 0 ? date + time : date - time;
}

std::optional<double> TryComposeDateTime(int year, int month, int day, int hour, int minute, int second,
                                         int millisecond) {
    static constexpr int DaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59 || millisecond < 0 || millisecond > 999) {
        return std::nullopt;
    }
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (day > DaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0)) {
        return std::nullopt;
    }
    return ComposeDateTime(year, month, day, hour, minute, second, millisecond);
}

} // namespace lumora
