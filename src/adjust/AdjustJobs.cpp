#include "adjust/AdjustJobs.h"

#include "adjust/AdjustSchedule.h"
#include "adjust/SystemClock.h"

namespace lumora {
namespace {

constexpr double JapanOffsetDays = 9.0 / 24.0;

double InZone(double utc, ReportZone zone) {
    return zone == ReportZone::Japan ? utc + JapanOffsetDays : UtcToLocal(utc);
}

} // namespace

std::optional<AdjustResult> RefusedBeforeContact(const std::wstring& title, const AdjustRequest& request,
                                                 AdjustJobContext& context) {
    const std::optional<double> last = context.Worker.RunOnUiThread(context.LastConnectedTime);
    if (!last || OverloadGuardRefuses(*last, LocalNow())) {
        return AdjustFailed(title, AdjustFailure::Overloaded, request);
    }
    if (request.Server.empty()) {
        return AdjustFailed(title, AdjustFailure::NoServer, request);
    }
    return std::nullopt;
}

void MarkConnected(AdjustJobContext& context) {
    const double now = LocalNow();
    context.Worker.RunOnUiThread([&context, now] { context.SetLastConnectedTime(now); });
}

AdjustResult ConcludeAdjust(const std::wstring& title, AdjustKind kind, double receivedUtc, ReportZone zone,
                            const LocaleFacts& locale) {
    const double before = UtcNow();
    if (kind == AdjustKind::Test) {
        return AdjustSucceeded(title, kind, InZone(before, zone), InZone(receivedUtc, zone), locale);
    }
    if (const ClockSetError error = SetUtc(receivedUtc); error != ClockSetError::None) {
        const double correction = receivedUtc - before;
        return AdjustSetRefused(title, error, correction, [title, kind, zone, locale, correction](double afterUtc) {
            return AdjustSucceeded(title, kind, InZone(afterUtc - correction, zone), InZone(afterUtc, zone), locale);
        });
    }
    return AdjustSucceeded(title, kind, InZone(before, zone), InZone(receivedUtc, zone), locale);
}

} // namespace lumora
