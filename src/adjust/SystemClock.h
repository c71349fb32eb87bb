#pragma once
// The computer's clock as the clock-setting runs see it: read and set in UTC, shown in local
// time, all as the program's date-time values.

#include "adjust/AdjustResults.h"

#include <windows.h>

#include <optional>

namespace lumora {

double SystemTimeToDateTime(const SYSTEMTIME& time);
SYSTEMTIME DateTimeToSystemTime(double dateTime);

double UtcNow();
double LocalNow();
// The program's own set: what the system says, a user without the right (or, under Wine, a change
// of more than half a second) giving NoPrivilege. The test fault "no-clock-privilege" refuses
// every set that way, as Windows refuses a normal user.
ClockSetError SetUtc(double utc);
// The set as the system answers it, whatever the test faults say: for the mode started with
// administrator rights, which must succeed where the program that started it failed.
ClockSetError SetSystemUtc(double utc);
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
