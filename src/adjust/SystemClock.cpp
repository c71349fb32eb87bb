#include "adjust/SystemClock.h"

#include "clock/DateTime.h"
#include "shell/TestFaults.h"

#include <mmsystem.h>

namespace lumora {

double SystemTimeToDateTime(const SYSTEMTIME& t) {
    return ComposeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

SYSTEMTIME DateTimeToSystemTime(double dateTime) {
    const DateTimeParts p = SplitDateTime(dateTime);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(p.Year);
    t.wMonth = static_cast<WORD>(p.Month);
    t.wDay = static_cast<WORD>(p.Day);
    t.wDayOfWeek = static_cast<WORD>((p.DayOfWeek + 1) % 7); // the system counts from Sunday
    t.wHour = static_cast<WORD>(p.Hour);
    t.wMinute = static_cast<WORD>(p.Minute);
    t.wSecond = static_cast<WORD>(p.Second);
    t.wMilliseconds = static_cast<WORD>(p.Millisecond);
    return t;
}

double UtcNow() {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return SystemTimeToDateTime(t);
}

double LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return SystemTimeToDateTime(t);
}

ClockSetError SetSystemUtc(double utc) {
    const SYSTEMTIME t = DateTimeToSystemTime(utc);
    if (SetSystemTime(&t)) {
        return ClockSetError::None;
    }
    return GetLastError() == ERROR_PRIVILEGE_NOT_HELD ? ClockSetError::NoPrivilege : ClockSetError::Other;
}

ClockSetError SetUtc(double utc) {
    return TestFault(L"no-clock-privilege") ? ClockSetError::NoPrivilege : SetSystemUtc(utc);
}

double UtcToLocal(double utc) {
    const SYSTEMTIME u = DateTimeToSystemTime(utc);
    SYSTEMTIME local{};
    return SystemTimeToTzSpecificLocalTime(nullptr, &u, &local) ? SystemTimeToDateTime(local) : utc;
}

ElapsedMilliseconds::ElapsedMilliseconds() : start_(timeGetTime()) {}

int ElapsedMilliseconds::Now() const {
    return static_cast<int>(timeGetTime() - start_);
}

} // namespace lumora
