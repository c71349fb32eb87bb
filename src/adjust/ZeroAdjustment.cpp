#include "adjust/ZeroAdjustment.h"

namespace lumora {

ZeroAdjustment ZeroAdjust(const DateTimeParts& utcNow) {
    ZeroAdjustment z{.Utc = utcNow, .HourAdvanced = utcNow.Minute >= 30};
    z.Utc.Minute = 0;
    z.Utc.Second = 0;
    z.Utc.Millisecond = 0;
    if (z.HourAdvanced && ++z.Utc.Hour == 24) {
        // Whole days only: before 1899-12-30 adding a fraction of a day would move the time back.
        z.Utc = SplitDateTime(ComposeDateTime(utcNow.Year, utcNow.Month, utcNow.Day, 0, 0, 0, 0) + 1.0);
    }
    const int minutes = z.HourAdvanced ? 60 : 0;
    z.Correction = MillisecondsToDays((minutes - utcNow.Minute) * 60000 - utcNow.Second * 1000 - utcNow.Millisecond);
    return z;
}

AdjustResult ZeroAdjustmentResult(const ZeroAdjustment& adjustment) {
    return {.Text = ZeroAdjustmentTitle() + (adjustment.HourAdvanced ? L"時刻を正時に合わせ、時刻を 1 時間進めました。"
                                                                     : L"時刻を正時に合わせました。"),
            .BalloonKind = BalloonInformation,
            .BeepKind = BalloonInformation,
            .Succeeded = true,
            .ClockSet = true,
            .Correction = adjustment.Correction,
            .Origin = AdjustOrigin::ZeroAdjustment};
}

AdjustResult ZeroAdjustmentRefused(const ZeroAdjustment& adjustment, ClockSetError error) {
    AdjustResult refused = AdjustSetRefused(ZeroAdjustmentTitle(), error, adjustment.Correction,
                                            [adjustment](double) { return ZeroAdjustmentResult(adjustment); });
    refused.Origin = AdjustOrigin::ZeroAdjustment;
    return refused;
}

} // namespace lumora
