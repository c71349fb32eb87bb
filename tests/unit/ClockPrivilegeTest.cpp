#include "adjust/ClockPrivilege.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lumora {
namespace {

using Kind = ElevatedSetMode;

ElevatedSetCommand Parse(std::vector<std::wstring> arguments) {
    return ParseElevatedSetCommand(arguments);
}

TEST(ClockPrivilege, TheCommandLineCarriesTheCorrectionInMilliseconds) {
    struct Row {
        double days;
        const wchar_t* arguments;
    };
    const Row rows[] = {
        {1234.0 / MillisecondsPerDay, L"/setclock 1234"},
        {-5.0 / MillisecondsPerDay, L"/setclock -5"},
        {0.4 / MillisecondsPerDay, L"/setclock 0"},
        {2.6 / MillisecondsPerDay, L"/setclock 3"},
        {-3.0 / 24.0, L"/setclock -10800000"}, // a clock three hours fast
        {36525.0, L"/setclock 3155760000000"},
    };
    for (const Row& r : rows) {
        const auto arguments = ElevatedSetArguments(r.days);
        ASSERT_TRUE(arguments.has_value()) << r.arguments;
        EXPECT_EQ(*arguments, r.arguments);
        // What the program builds, the copy takes back as the same number.
        const std::wstring number = arguments->substr(arguments->find(L' ') + 1);
        const ElevatedSetCommand back = Parse({L"/setclock", number});
        EXPECT_EQ(back.Mode, Kind::Set) << r.arguments;
        EXPECT_EQ(back.CorrectionMs, std::llround(r.days * MillisecondsPerDay)) << r.arguments;
    }
    EXPECT_FALSE(ElevatedSetArguments(36526.0)) << "more than a hundred years is no correction";
    EXPECT_FALSE(ElevatedSetArguments(-36526.0));
    EXPECT_FALSE(ElevatedSetArguments(std::nan("")));
    EXPECT_FALSE(ElevatedSetArguments(INFINITY));
}

TEST(ClockPrivilege, TheCopyTakesExactlyOneNumberInRange) {
    struct Row {
        std::vector<std::wstring> arguments;
        Kind kind;
        int64_t correctionMs;
    };
    const Row rows[] = {
        {{}, Kind::NormalStart, 0},
        {{L"/other"}, Kind::NormalStart, 0},
        {{L"setclock", L"5"}, Kind::NormalStart, 0},
        {{L"/setclock", L"1234"}, Kind::Set, 1234},
        {{L"/SetClock", L"-5"}, Kind::Set, -5},
        {{L"/setclock", L"+7"}, Kind::Set, 7},
        {{L"/setclock", L"0"}, Kind::Set, 0},
        {{L"/setclock", L"3155760000000"}, Kind::Set, 3155760000000},
        {{L"/setclock", L"-3155760000000"}, Kind::Set, -3155760000000},
        // No number.
        {{L"/setclock"}, Kind::BadArguments, 0},
        {{L"/setclock", L""}, Kind::BadArguments, 0},
        {{L"/setclock", L"-"}, Kind::BadArguments, 0},
        // Huge numbers: out of range, or past what any integer holds.
        {{L"/setclock", L"3155760000001"}, Kind::BadArguments, 0},
        {{L"/setclock", L"-3155760000001"}, Kind::BadArguments, 0},
        {{L"/setclock", L"99999999999999999999"}, Kind::BadArguments, 0},
        {{L"/setclock", L"0000000000000001"}, Kind::BadArguments, 0},
        // Extra arguments, wherever they are.
        {{L"/setclock", L"5", L"6"}, Kind::BadArguments, 0},
        {{L"x", L"/setclock", L"5"}, Kind::BadArguments, 0},
        {{L"/setclock", L"/setclock"}, Kind::BadArguments, 0},
        // Junk.
        {{L"/setclock", L"12a"}, Kind::BadArguments, 0},
        {{L"/setclock", L"1e3"}, Kind::BadArguments, 0},
        {{L"/setclock", L" 12"}, Kind::BadArguments, 0},
        {{L"/setclock", L"1.5"}, Kind::BadArguments, 0},
        {{L"/setclock", L"--5"}, Kind::BadArguments, 0},
        {{L"/setclock", L"０１２"}, Kind::BadArguments, 0}, // full-width digits
        {{L"/setclock", L"0x10"}, Kind::BadArguments, 0},
    };
    for (const Row& r : rows) {
        const ElevatedSetCommand command = Parse(r.arguments);
        const std::wstring line = r.arguments.empty() ? L"(none)" : r.arguments.back();
        EXPECT_EQ(command.Mode, r.kind) << testing::PrintToString(line);
        if (r.kind == Kind::Set) {
            EXPECT_EQ(command.CorrectionMs, r.correctionMs) << testing::PrintToString(line);
        }
    }
}

TEST(ClockPrivilege, HowTheCopyEnded) {
    struct Row {
        uint32_t startError;
        uint32_t exitCode;
        ElevatedSetOutcome outcome;
    };
    const Row rows[] = {
        {0, 20, ElevatedSetOutcome::Done},
        {0, 21, ElevatedSetOutcome::BadArguments},
        {0, 22, ElevatedSetOutcome::NoPrivilege},
        {0, 23, ElevatedSetOutcome::Failed},
        // What a normal start, an unhandled error or a crash ends with is never a success.
        {0, 0, ElevatedSetOutcome::Failed},
        {0, 1, ElevatedSetOutcome::Failed},
        {0, 259, ElevatedSetOutcome::Failed}, // still running when the wait was given up
        {0, 0xC0000005, ElevatedSetOutcome::Failed},
        {1223, 0, ElevatedSetOutcome::Declined}, // the consent prompt turned down
        {1223, 20, ElevatedSetOutcome::Declined},
        {2, 0, ElevatedSetOutcome::NotStarted},
        {5, 20, ElevatedSetOutcome::NotStarted},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ElevatedSetOutcomeOf(r.startError, r.exitCode), r.outcome) << r.startError << " " << r.exitCode;
    }
}

TEST(ClockPrivilege, OnlyARunTheUserStartedIsOfferedTheElevatedSetOneAtATime) {
    struct Row {
        AdjustKind kind;
        ClockSetError error;
        bool offered;
    };
    const Row rows[] = {
        {AdjustKind::Manual, ClockSetError::NoPrivilege, true},
        {AdjustKind::Manual, ClockSetError::Other, false},
        {AdjustKind::Manual, ClockSetError::None, false},
        {AdjustKind::Automatic, ClockSetError::NoPrivilege, false},
        {AdjustKind::Startup, ClockSetError::NoPrivilege, false},
        {AdjustKind::Test, ClockSetError::NoPrivilege, false},
    };
    for (const Row& r : rows) {
        ClockPrivilegeRules rules;
        EXPECT_EQ(rules.Offer(r.kind, r.error), r.offered)
            << static_cast<int>(r.kind) << " " << static_cast<int>(r.error);
    }

    ClockPrivilegeRules rules;
    ASSERT_TRUE(rules.Offer(AdjustKind::Manual, ClockSetError::NoPrivilege));
    EXPECT_FALSE(rules.Offer(AdjustKind::Manual, ClockSetError::NoPrivilege)) << "a second refusal while one is open";
    rules.OfferEnded();
    EXPECT_TRUE(rules.Offer(AdjustKind::Manual, ClockSetError::NoPrivilege)) << "the next command asks again";
}

TEST(ClockPrivilege, AnAutomaticRunsMissingRightIsToldOncePerProgramRun) {
    ClockPrivilegeRules rules;
    // With AdjustMessage off nothing is shown, and the once is kept for when it is on.
    EXPECT_FALSE(rules.ResultShown(AdjustKind::Startup, ClockSetError::NoPrivilege, false));
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Startup, ClockSetError::NoPrivilege, true));
    EXPECT_FALSE(rules.ResultShown(AdjustKind::Automatic, ClockSetError::NoPrivilege, true));
    EXPECT_FALSE(rules.ResultShown(AdjustKind::Automatic, ClockSetError::NoPrivilege, true));
    // Other results of automatic runs keep their rule; what the user started is always told.
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Automatic, ClockSetError::Other, true));
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Automatic, ClockSetError::None, true));
    EXPECT_FALSE(rules.ResultShown(AdjustKind::Automatic, ClockSetError::None, false));
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Manual, ClockSetError::NoPrivilege, false));
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Manual, ClockSetError::NoPrivilege, false));
    EXPECT_TRUE(rules.ResultShown(AdjustKind::Test, ClockSetError::None, false));
}

TEST(ClockPrivilege, ARefusedSetCarriesTheWantedChangeOnlyForWantOfTheRight) {
    const double correction = 1500.0 / MillisecondsPerDay;
    int reports = 0;
    const AdjustResult noRight =
        AdjustSetRefused(L"手動時刻合わせ (NTP)|", ClockSetError::NoPrivilege, correction, [&reports](double after) {
            ++reports;
            return AdjustResult{.Text = L"after", .Succeeded = true, .ClockSet = true, .Correction = after};
        });
    EXPECT_EQ(noRight.Text, L"手動時刻合わせ (NTP)|時刻合わせに失敗しました。\r\n"
                            L"現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。");
    EXPECT_EQ(noRight.BalloonKind, BalloonError);
    EXPECT_FALSE(noRight.Succeeded || noRight.ClockSet);
    EXPECT_EQ(noRight.SetError, ClockSetError::NoPrivilege);
    EXPECT_EQ(noRight.Correction, correction);
    ASSERT_TRUE(noRight.ReportSetAfterAll);
    EXPECT_EQ(noRight.ReportSetAfterAll(7.0).Correction, 7.0);
    EXPECT_EQ(reports, 1);

    const AdjustResult other =
        AdjustSetRefused(L"T|", ClockSetError::Other, correction, [](double) { return AdjustResult{}; });
    EXPECT_EQ(other.SetError, ClockSetError::Other);
    EXPECT_EQ(other.Correction, 0.0) << "nothing to make after all";
    EXPECT_FALSE(other.ReportSetAfterAll);
}

} // namespace
} // namespace lumora
