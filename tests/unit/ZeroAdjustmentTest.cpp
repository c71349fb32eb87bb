#include "adjust/ZeroAdjustment.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

DateTimeParts Utc(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    return SplitDateTime(ComposeDateTime(year, month, day, hour, minute, second, millisecond));
}

TEST(ZeroAdjustment, ToTheNearestFullHour) {
    struct Row {
        DateTimeParts now;
        DateTimeParts set;
        bool advanced;
        int correctionMs;
    };
    const Row rows[] = {
        {Utc(2026, 1, 5, 12, 29, 59, 999), Utc(2026, 1, 5, 12, 0, 0, 0), false, -1799999},
        {Utc(2026, 1, 5, 12, 30, 0, 0), Utc(2026, 1, 5, 13, 0, 0, 0), true, 1800000},
        {Utc(2026, 1, 5, 12, 0, 0, 0), Utc(2026, 1, 5, 12, 0, 0, 0), false, 0},
        {Utc(2026, 1, 5, 23, 45, 0, 0), Utc(2026, 1, 6, 0, 0, 0, 0), true, 900000},
        {Utc(2026, 12, 31, 23, 45, 0, 0), Utc(2027, 1, 1, 0, 0, 0, 0), true, 900000},
        {Utc(2024, 2, 28, 23, 30, 0, 0), Utc(2024, 2, 29, 0, 0, 0, 0), true, 1800000},
    };
    for (const Row& r : rows) {
        const ZeroAdjustment z = ZeroAdjust(r.now);
        EXPECT_EQ(z.Utc, r.set) << r.now.Month << "/" << r.now.Day << " " << r.now.Hour << ":" << r.now.Minute;
        EXPECT_EQ(z.HourAdvanced, r.advanced) << r.now.Hour << ":" << r.now.Minute;
        EXPECT_NEAR(z.Correction * MillisecondsPerDay, r.correctionMs, 0.01) << r.now.Hour << ":" << r.now.Minute;
    }
}

TEST(ZeroAdjustment, Results) {
    const ZeroAdjustment kept = ZeroAdjust(Utc(2026, 1, 5, 12, 10, 0, 0));
    const ZeroAdjustment advanced = ZeroAdjust(Utc(2026, 1, 5, 12, 50, 0, 0));

    const AdjustResult ok = ZeroAdjustmentResult(kept);
    EXPECT_EQ(ok.Text, L"手動時刻合わせ (ゼロ調整)|時刻を正時に合わせました。");
    EXPECT_EQ(ok.BalloonKind, 1);
    EXPECT_EQ(ok.BeepKind, 1) << "unlike a run's report, this one beeps";
    EXPECT_TRUE(ok.Succeeded && ok.ClockSet);
    EXPECT_EQ(ZeroAdjustmentResult(advanced).Text,
              L"手動時刻合わせ (ゼロ調整)|時刻を正時に合わせ、時刻を 1 時間進めました。");

    const AdjustResult failed = ZeroAdjustmentRefused(advanced, ClockSetError::Other);
    EXPECT_EQ(failed.Text, L"手動時刻合わせ (ゼロ調整)|時刻合わせに失敗しました。\r\n"
                           L"現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。");
    EXPECT_EQ(failed.BalloonKind, 3);
    EXPECT_EQ(failed.BeepKind, 3);
    EXPECT_FALSE(failed.ClockSet);
}

// A run's set refreshes the notification area and its success sounds; the zero adjustment,
// refused or made after all, only asks the taskbar's clock to redraw and never sounds.
TEST(ZeroAdjustment, FollowsUpUnlikeARun) {
    using F = AdjustFollowUp;
    const ZeroAdjustment zero = ZeroAdjust(Utc(2026, 1, 5, 12, 10, 0, 0));
    const double before = ComposeDateTime(2026, 1, 5, 9, 0, 0, 0);
    const AdjustResult run =
        AdjustSucceeded(L"手動時刻合わせ (NTP)|", AdjustKind::Manual, before, before, JapaneseLocaleFacts());
    const AdjustResult test =
        AdjustSucceeded(L"通信テスト (NTP)|", AdjustKind::Test, before, before, JapaneseLocaleFacts());
    const AdjustResult refused = AdjustSetRefused(L"手動時刻合わせ (NTP)|", ClockSetError::NoPrivilege, 0.0, nullptr);
    EXPECT_EQ(FollowUpOf(run, true), (F{true, true, false, true}));
    EXPECT_EQ(FollowUpOf(run, false), (F{true, true, false, false}));
    EXPECT_EQ(FollowUpOf(test, true), (F{false, false, false, true})) << "a test sounds too";
    EXPECT_EQ(FollowUpOf(refused, true), F{});

    EXPECT_EQ(FollowUpOf(ZeroAdjustmentResult(zero), true), (F{true, false, true, false}));
    EXPECT_EQ(FollowUpOf(ZeroAdjustmentRefused(zero, ClockSetError::Other), true), F{});
    const AdjustResult afterAll = ZeroAdjustmentRefused(zero, ClockSetError::NoPrivilege);
    EXPECT_EQ(FollowUpOf(afterAll.ReportSetAfterAll(0.0), true), (F{true, false, true, false}));
}

} // namespace
} // namespace lumora
