#pragma once
// When clock-setting runs happen and from where: the periodic and start-up schedule, the guard
// that keeps public servers from being asked too often, and the two menu actions.

#include "adjust/AdjustRequest.h"
#include "settings/Settings.h"

#include <optional>

namespace lumora {

constexpr int OverloadGuardMinutes = 10;

// True while the last SNTP or HTTP contact is less than OverloadGuardMinutes old. A contact in
// the future can only mean the clock was set back since; it is stale, or the guard would refuse
// every run until the clock caught up with it.
bool OverloadGuardRefuses(double lastConnectedTime, double now);

// The source AdjustType chooses, when its server or port is set.
std::optional<AdjustSource> ConfiguredSource(const AdjustClockSettings& s);

// "インターネットで合わせる(&N)": visible, and runs, only for a set SNTP or HTTP server.
std::optional<AdjustSource> NetworkAdjustSource(const AdjustClockSettings& s);
inline bool NetworkAdjustVisible(const AdjustClockSettings& s) {
    return NetworkAdjustSource(s).has_value();
}
// "電波時計で合わせる(&W)": visible only for the kit with a port named.
inline bool KitAdjustVisible(const AdjustClockSettings& s) {
    return ConfiguredSource(s) == AdjustSource::Kit;
}

// A time stamp taken on the clock before the program set it, moved to the same instant on the
// new clock, so that our own correction neither makes a stamp look stale nor extends it. The
// never-date stays.
double FollowClockChange(double stamp, double correction);

// Whether the periodic or start-up run is due. A last attempt in the future (the clock was set
// back) is stale, so the schedule does not stop for as long as the clock is behind it.
bool AdjustDue(const AdjustClockSettings& s, double lastAttempt, double now);

struct ScheduledRun {
    AdjustSource Source;
    AdjustRequest Request;
};

// The master window's last automatic attempt and the tick rule built on it.
class AdjustSchedule {
public:
    // With BootAdjust the first tick runs; otherwise the first run comes one interval after now.
    AdjustSchedule(bool bootAdjust, double now) : lastAttempt_(bootAdjust ? NeverDate : now) {}

    // Every tick, before anything else. When due, the last attempt moves to now whether or not a
    // source is set; the run to start comes back when one is.
    std::optional<ScheduledRun> Tick(const AdjustClockSettings& s, double now);

    // After the program set the clock by correction (days).
    void ClockChanged(double correction) { lastAttempt_ = FollowClockChange(lastAttempt_, correction); }

    double LastAttempt() const { return lastAttempt_; }

private:
    double lastAttempt_;
};

} // namespace lumora
