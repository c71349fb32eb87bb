#pragma once
// The computer's clock as the clock-setting runs see it: read and set in UTC, shown in local
// time, all as the program's date-time values.

#include <windows.h>

#include <optional>

namespace lumora {

double SystemTimeToDateTime(const SYSTEMTIME& time);
SYSTEMTIME DateTimeToSystemTime(double dateTime);

double UtcNow();
double LocalNow();
// False when the system refuses: a user without the right, or (under Wine) a change of more than
// half a second.
bool SetUtc(double utc);
// In the computer's time zone; the UTC value itself when it cannot be converted.
double UtcToLocal(double utc);

// A millisecond counter for the time a run spends between receiving and setting.
class ElapsedMilliseconds {
public:
    ElapsedMilliseconds();
    int Now() const;

private:
    DWORD start_;
};

} // namespace lumora
