#pragma once
// "正時に合わせる(&Z)": the system clock (UTC) to the nearest full hour, and what the command
// reports.

#include "adjust/AdjustResults.h"
#include "clock/DateTime.h"

namespace lumora {

struct ZeroAdjustment {
    DateTimeParts Utc;         // the time to set; DayOfWeek is ours (Monday first), not the system's
    bool HourAdvanced = false; // the minute was 30 or more
    double Correction = 0.0;   // the new time minus the old, in days
};

// Minute 30 and later go on to the next hour, carrying into the day, month and year.
ZeroAdjustment ZeroAdjust(const DateTimeParts& utcNow);

// Unlike a run's report, a success here beeps as information; the command always shows it.
AdjustResult ZeroAdjustmentResult(const ZeroAdjustment& adjustment);
// The system refused the set; without the right, the set may still be made elevated and is then
// reported as ZeroAdjustmentResult.
AdjustResult ZeroAdjustmentRefused(const ZeroAdjustment& adjustment, ClockSetError error);

} // namespace lumora
