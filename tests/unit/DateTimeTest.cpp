#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumora {
namespace {

TEST(DateTime, KnownDates) {
    struct Row {
        DateTimeParts parts;
        double serial;
    };
    const Row rows[] = {
        {{1899, 12, 30, 0, 0, 0, 0, 5}, 0.0},
        {{1899, 12, 31, 18, 0, 0, 0, 6}, 1.75},
        {{1899, 12, 29, 6, 0, 0, 0, 4}, -1.25},
        {{1900, 3, 1, 0, 0, 0, 0, 3}, 61.0},
        {{2000, 2, 29, 12, 0, 0, 0, 1}, 36585.5},
        {{2006, 4, 3, 9, 5, 7, 42, 0}, 38810.0 + (9 * 3600 + 5 * 60 + 7.042) / 86400},
        {{2024, 12, 31, 0, 0, 0, 0, 1}, 45657.0},
        {{1800, 6, 15, 0, 0, 0, 0, 6}, -36357.0},
        {{100, 1, 1, 0, 0, 0, 0, 4}, NeverDate},
    };
    for (const auto& r : rows) {
        const auto& p = r.parts;
        EXPECT_EQ(SplitDateTime(r.serial), p) << r.serial;
        EXPECT_NEAR(ComposeDateTime(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond), r.serial, 1e-9)
            << r.serial;
    }
}

TEST(DateTime, FractionBetweenMinusOneAndZeroIsStillDayZero) {
    EXPECT_EQ(SplitDateTime(-0.5), (DateTimeParts{1899, 12, 30, 12, 0, 0, 0, 5}));
}

TEST(DateTime, RoundTripsAcrossTheEpochAndCenturies) {
    const int times[][4] = {{0, 0, 0, 0}, {0, 0, 0, 1}, {6, 30, 15, 500}, {12, 0, 0, 0}, {23, 59, 59, 999}};
    for (int day = -700000; day <= 3000000; day += 997) {
        const DateTimeParts date = SplitDateTime(day);
        for (const auto& t : times) {
            const double dt = ComposeDateTime(date.Year, date.Month, date.Day, t[0], t[1], t[2], t[3]);
            const DateTimeParts p = SplitDateTime(dt);
            ASSERT_EQ(p, (DateTimeParts{date.Year, date.Month, date.Day, t[0], t[1], t[2], t[3], date.DayOfWeek}))
                << day;
        }
    }
}

TEST(DateTime, LeapYears) {
    const std::pair<int, bool> years[] = {{1900, false}, {2000, true}, {2023, false}, {2024, true},
                                          {2100, false}, {1600, true}, {1800, false}};
    for (const auto& [year, leap] : years) {
        const double february28 = ComposeDateTime(year, 2, 28, 0, 0, 0, 0);
        EXPECT_EQ(ComposeDateTime(year, 3, 1, 0, 0, 0, 0) - february28, leap ? 2.0 : 1.0) << year;
        EXPECT_EQ(SplitDateTime(february28 + 1).Month, leap ? 2 : 3) << year;
    }
}

TEST(DateTime, MillisecondsRoundWithoutReachingAThousand) {
    struct Row {
        double extraMs; // after 23:59:59.999 on 2006-04-03
        DateTimeParts expected;
    };
    const Row rows[] = {
        {0.4, {2006, 4, 3, 23, 59, 59, 999, 0}},
        {0.6, {2006, 4, 4, 0, 0, 0, 0, 1}},
        {-0.4, {2006, 4, 3, 23, 59, 59, 999, 0}},
        {-0.6, {2006, 4, 3, 23, 59, 59, 998, 0}},
    };
    const double last = ComposeDateTime(2006, 4, 3, 23, 59, 59, 999);
    for (const auto& r : rows) {
        EXPECT_EQ(SplitDateTime(last + r.extraMs / MillisecondsPerDay), r.expected) << r.extraMs;
    }
    // Around 59.9995 s every value lands on a real time.
    const double minute = ComposeDateTime(2024, 12, 31, 12, 34, 59, 999);
    for (int step = 0; step <= 100; ++step) {
        const DateTimeParts p = SplitDateTime(minute + (step / 100.0) / MillisecondsPerDay);
        ASSERT_LT(p.Millisecond, 1000);
        ASSERT_LT(p.Second, 60);
        ASSERT_TRUE((p.Minute == 34 && p.Second == 59 && p.Millisecond == 999) ||
                    (p.Minute == 35 && p.Second == 0 && p.Millisecond == 0))
            << step;
    }
}

TEST(DateTime, NegativeDatesCarryTimeForward) {
    // Before the epoch a later time of day has a more negative value.
    const double morning = ComposeDateTime(1850, 7, 1, 6, 0, 0, 0);
    const double evening = ComposeDateTime(1850, 7, 1, 18, 0, 0, 0);
    EXPECT_LT(evening, morning);
    EXPECT_EQ(SplitDateTime(morning - 0.4 / MillisecondsPerDay), (DateTimeParts{1850, 7, 1, 6, 0, 0, 0, 0}));
    EXPECT_EQ(SplitDateTime(evening - 0.6 / MillisecondsPerDay), (DateTimeParts{1850, 7, 1, 18, 0, 0, 1, 0}));
}

TEST(DateTime, GarbageStaysDefined) {
    for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        const DateTimeParts p = SplitDateTime(v);
        EXPECT_GE(p.Month, 1);
        EXPECT_LE(p.Month, 12);
        EXPECT_LT(p.Hour, 24);
    }
}

} // namespace
} // namespace lumora
