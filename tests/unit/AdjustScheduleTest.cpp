#include "adjust/AdjustSchedule.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

const double T = ComposeDateTime(2026, 1, 5, 9, 0, 0, 0);

double Plus(int minutes, int milliseconds = 0) {
    return ComposeDateTime(2026, 1, 5, 9, minutes, 0, 0) + MillisecondsToDays(milliseconds);
}

AdjustClockSettings Ntp() {
    AdjustClockSettings s;
    s.AdjustType = 1;
    s.CurrentNTPServer = L"ntp.example.jp";
    s.AutoAdjust = true;
    s.AutoAdjustInterval = 10 * OneMinute;
    return s;
}

TEST(AdjustSchedule, OverloadGuard) {
    struct Row {
        double stamp;
        double now;
        bool refused;
    };
    const Row rows[] = {
        {T, T, true},
        {T, Plus(5), true},
        {T, Plus(9, 59999), true},
        {T, Plus(10), false},
        {T, Plus(10, 1), false},
        {NeverDate, T, false},
        // The clock went back behind the stamp: stale, not ten more minutes plus the set-back.
        {T, Plus(0, -1), false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(OverloadGuardRefuses(r.stamp, r.now), r.refused)
            << "stamp " << r.stamp << " now " << (r.now - r.stamp) * MillisecondsPerDay << " ms later";
    }
}

TEST(AdjustSchedule, DueRule) {
    AdjustClockSettings bootOnly = Ntp();
    bootOnly.AutoAdjust = false;
    bootOnly.BootAdjust = true;
    AdjustClockSettings neither = Ntp();
    neither.AutoAdjust = false;
    AdjustClockSettings noType = Ntp();
    noType.AdjustType = 0;
    struct Row {
        const AdjustClockSettings& s;
        double last;
        double now;
        bool due;
    };
    const Row rows[] = {
        {Ntp(), T, Plus(10), false},
        {Ntp(), T, Plus(10, 1), true},
        {bootOnly, T, Plus(10, 1), true},
        {neither, T, Plus(10, 1), false},
        {noType, NeverDate, T, false},
        {Ntp(), NeverDate, T, true},
        {Ntp(), T, T, false},
        // The clock was set back behind the last attempt: due now, not an interval after it.
        {Ntp(), T, Plus(0, -1000), true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AdjustDue(r.s, r.last, r.now), r.due)
            << "type " << r.s.AdjustType << " last " << r.last << " +" << (r.now - r.last) * MillisecondsPerDay;
    }
}

TEST(AdjustSchedule, StartupRunFirstThenAutomaticOnes) {
    AdjustClockSettings s = Ntp();
    s.BootAdjust = true;
    s.NTPLocalPort = 1230;
    s.NTPTimeOut = 7;
    s.NTPOffset = -250;
    AdjustSchedule schedule(true, T);

    const auto first = schedule.Tick(s, T);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Source, AdjustSource::Ntp);
    EXPECT_EQ(first->Request, (AdjustRequest{AdjustKind::Startup, L"ntp.example.jp", L"", 1230, 7, -250}));
    EXPECT_FALSE(schedule.Tick(s, Plus(1)));
    const auto later = schedule.Tick(s, Plus(10, 1));
    ASSERT_TRUE(later);
    EXPECT_EQ(later->Request.Kind, AdjustKind::Automatic);

    AdjustSchedule noBoot(false, T);
    EXPECT_FALSE(noBoot.Tick(s, Plus(0, 100))) << "the first automatic run waits one interval";
    ASSERT_TRUE(noBoot.Tick(s, Plus(10, 1)));
}

TEST(AdjustSchedule, EmptyServerStartsNothingButMovesTheLastAttempt) {
    AdjustClockSettings s = Ntp();
    s.CurrentNTPServer.clear();
    AdjustSchedule schedule(true, T);
    EXPECT_FALSE(schedule.Tick(s, T));
    EXPECT_EQ(schedule.LastAttempt(), T);
    s.CurrentNTPServer = L"ntp.example.jp";
    const auto run = schedule.Tick(s, Plus(10, 1));
    ASSERT_TRUE(run);
    EXPECT_EQ(run->Request.Kind, AdjustKind::Automatic) << "the attempt without a server counted";
}

TEST(AdjustSchedule, OurOwnSetBackIsNotAStaleAttempt) {
    AdjustClockSettings s = Ntp();
    AdjustSchedule schedule(false, T);
    ASSERT_TRUE(schedule.Tick(s, Plus(10, 1)));
    // The run set the clock back 30 s; the stamps follow, so the next tick does not ask again.
    const double correction = -MillisecondsToDays(30000);
    schedule.ClockChanged(correction);
    const double nowAfter = Plus(10, 1 + 200) + correction;
    EXPECT_FALSE(schedule.Tick(s, nowAfter));
    EXPECT_TRUE(OverloadGuardRefuses(FollowClockChange(Plus(10, 50), correction), nowAfter));
    EXPECT_EQ(FollowClockChange(NeverDate, correction), NeverDate);
}

TEST(AdjustSchedule, SourcesAndMenuActions) {
    struct Row {
        int type;
        const wchar_t* ntp;
        const wchar_t* http;
        const wchar_t* port;
        std::optional<AdjustSource> network;
        bool kitVisible;
    };
    const Row rows[] = {
        {0, L"n", L"h", L"COM1", std::nullopt, false}, {1, L"n", L"", L"", AdjustSource::Ntp, false},
        {1, L"", L"h", L"COM1", std::nullopt, false},  {2, L"", L"h", L"", AdjustSource::Http, false},
        {2, L"n", L"", L"COM1", std::nullopt, false},  {3, L"n", L"h", L"COM1", std::nullopt, true},
        {3, L"n", L"h", L"", std::nullopt, false},
    };
    for (const Row& r : rows) {
        AdjustClockSettings s;
        s.AdjustType = r.type;
        s.CurrentNTPServer = r.ntp;
        s.CurrentHTTPServer = r.http;
        s.CurrentJJYPort = r.port;
        EXPECT_EQ(NetworkAdjustSource(s), r.network) << "type " << r.type << " ntp " << !s.CurrentNTPServer.empty();
        EXPECT_EQ(NetworkAdjustVisible(s), r.network.has_value()) << "type " << r.type;
        EXPECT_EQ(KitAdjustVisible(s), r.kitVisible) << "type " << r.type;
    }
}

TEST(AdjustSchedule, RequestsTakeTheirSourcesSettings) {
    AdjustClockSettings s;
    s.CurrentHTTPServer = L"www.example.jp";
    s.HTTPProxyServer = L"proxy";
    s.HTTPProxyPort = 8080;
    s.HTTPTimeOut = 20;
    s.HTTPOffset = 500;
    s.CurrentJJYPort = L"COM2";
    s.JJYTimeOut = 3;
    s.JJYOffset = -9;
    EXPECT_EQ(MakeAdjustRequest(AdjustSource::Http, AdjustKind::Manual, s),
              (AdjustRequest{AdjustKind::Manual, L"www.example.jp", L"proxy", 8080, 20, 500}));
    EXPECT_EQ(MakeAdjustRequest(AdjustSource::Kit, AdjustKind::Test, s),
              (AdjustRequest{AdjustKind::Test, L"COM2", L"", 0, 3, -9}));
}

} // namespace
} // namespace lumora
