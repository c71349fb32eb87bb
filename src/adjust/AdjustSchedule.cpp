#include "adjust/AdjustSchedule.h"

#include "clock/DateTime.h"

#include <cmath>

namespace lumora {
namespace {

// Spans compared in whole milliseconds, so that an interval's end is one instant however the
// two date-times were computed.
double MillisecondsFrom(double from, double to) {
    return std::round((to - from) * MillisecondsPerDay);
}

} // namespace

bool OverloadGuardRefuses(double lastConnectedTime, double now) {
    const double age = MillisecondsFrom(lastConnectedTime, now);
    return age >= 0 && age < OverloadGuardMinutes * 60000.0;
}

std::optional<AdjustSource> ConfiguredSource(const AdjustClockSettings& s) {
    switch (s.AdjustType) {
    case 1:
        return s.CurrentNTPServer.empty() ? std::nullopt : std::optional(AdjustSource::Ntp);
    case 2:
        return s.CurrentHTTPServer.empty() ? std::nullopt : std::optional(AdjustSource::Http);
    case 3:
        return s.CurrentJJYPort.empty() ? std::nullopt : std::optional(AdjustSource::Kit);
    default:
        return std::nullopt;
    }
}

std::optional<AdjustSource> NetworkAdjustSource(const AdjustClockSettings& s) {
    const std::optional<AdjustSource> source = ConfiguredSource(s);
    return source == AdjustSource::Kit ? std::nullopt : source;
}

double FollowClockChange(double stamp, double correction) {
    return stamp == NeverDate ? stamp : stamp + correction;
}

bool AdjustDue(const AdjustClockSettings& s, double lastAttempt, double now) {
    if (!(s.AutoAdjust || s.BootAdjust) || s.AdjustType == 0) {
        return false;
    }
    const double since = MillisecondsFrom(lastAttempt, now);
    return since < 0 || since > std::round(s.AutoAdjustInterval * MillisecondsPerDay);
}

std::optional<ScheduledRun> AdjustSchedule::Tick(const AdjustClockSettings& s, double now) {
    if (!AdjustDue(s, lastAttempt_, now)) {
        return std::nullopt;
    }
    const AdjustKind kind = lastAttempt_ == NeverDate ? AdjustKind::Startup : AdjustKind::Automatic;
    lastAttempt_ = now;
    const std::optional<AdjustSource> source = ConfiguredSource(s);
    if (!source) {
        return std::nullopt;
    }
    return ScheduledRun{*source, MakeAdjustRequest(*source, kind, s)};
}

} // namespace lumora
