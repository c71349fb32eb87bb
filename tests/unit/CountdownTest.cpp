#include "tools/Countdown.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

double At(int h, int mi, int s, int ms = 0) {
    return ComposeDateTime(2006, 4, 3, h, mi, s, ms);
}

double Span(int h, int mi, int s, int ms = 0) {
    return ((h * 60 + mi) * 60 + s + ms / 1000.0) / 86400.0;
}

TEST(Countdown, DurationTextAndStartButton) {
    struct Row {
        double time;
        const wchar_t* text;
        bool canStart;
    };
    const Row rows[] = {
        {Span(0, 3, 0), L"00:03.00", true},
        {Span(0, 0, 1), L"00:00.01", true},
        {Span(0, 0, 0), L"00:00.00", false},
        {Span(0, 0, 0, 900), L"00:00.00", false}, // the picker holds no milliseconds
        {Span(23, 59, 59), L"23:59.59", true},
        {1.0, L"00:00.00", false},                 // a whole day is a time of day of 0
        {2.5 + Span(0, 10, 0), L"12:10.00", true}, // the date part of a hand-edited value goes
    };
    for (const Row& row : rows) {
        const double duration = TimerDuration(row.time);
        EXPECT_EQ(CountdownText(duration), row.text) << row.time;
        EXPECT_EQ(TimerCanStart(duration), row.canStart) << row.time;
    }
    EXPECT_EQ(CountdownText(-Span(0, 5, 0)), L"00:00.00");
    EXPECT_EQ(CountdownText(Span(0, 2, 10) - 0.0004 / 86400), L"00:02.10"); // rounded to the millisecond first
}

TEST(Countdown, Presets) {
    ASSERT_EQ(TimerPresets.size(), 14u);
    EXPECT_EQ(TimerPresets[0].Minutes, 1);
    EXPECT_EQ(TimerPresets[0].Caption, L"1 分");
    EXPECT_EQ(TimerPresets[7].Caption, L"45 分");
    EXPECT_EQ(TimerPresets[9].Minutes, 90);
    EXPECT_EQ(TimerPresets[9].Caption, L"90 分 (1 時間半)");
    EXPECT_EQ(TimerPresets[13].Caption, L"240 分 (4 時間)");
    EXPECT_EQ(CountdownText(PresetDuration(90)), L"01:30.00");
    EXPECT_EQ(CountdownText(PresetDuration(240)), L"04:00.00");
}

TEST(Countdown, FiresUpToOneSecondEarlyOncePerMillisecond) {
    CountdownTimer timer;
    EXPECT_FALSE(timer.Tick(At(10, 0, 0), 0)); // idle
    timer.Start(At(10, 0, 0, 500), Span(0, 3, 0));
    ASSERT_TRUE(timer.Running());

    struct Row {
        double now;
        bool stepped;
        bool fires;
        const wchar_t* shown;
    };
    const Row rows[] = {
        {At(10, 0, 0, 533), true, false, L"00:02.59"},
        {At(10, 0, 0, 533), false, false, L""}, // the same millisecond again
        {At(10, 2, 58, 500), true, false, L"00:00.02"},
        {At(10, 2, 59, 499), true, false, L"00:00.01"},
        {At(10, 2, 59, 500), true, true, L"00:00.01"},
    };
    for (const Row& row : rows) {
        const auto step = timer.Tick(row.now, SplitDateTime(row.now).Millisecond);
        ASSERT_EQ(step.has_value(), row.stepped) << CountdownText(row.now);
        if (step) {
            EXPECT_EQ(step->Fire, row.fires) << CountdownText(row.now);
            EXPECT_EQ(CountdownText(step->Remaining), row.shown);
        }
    }
}

TEST(Countdown, StopKeepsTheTimeLeftOnlyWhenSomeIsLeft) {
    struct Row {
        const char* what;
        double stopAt;
        const wchar_t* newDuration; // nullptr: the duration stays
    };
    const Row rows[] = {
        {"2:10 and a bit left", At(10, 0, 49, 600), L"00:02.10"},
        {"a second left", At(10, 2, 58, 500), L"00:00.01"},
        {"less than a second left", At(10, 2, 59, 200), nullptr},
        // The computer slept past the due time: the negative rest must not become the duration.
        {"overdue by five minutes", At(10, 8, 0, 0), nullptr},
        {"overdue by a day", At(10, 0, 0) + 1.5, nullptr},
    };
    for (const Row& row : rows) {
        CountdownTimer timer;
        timer.Start(At(10, 0, 0), Span(0, 3, 0));
        const auto left = timer.Stop(row.stopAt);
        EXPECT_FALSE(timer.Running()) << row.what;
        ASSERT_EQ(left.has_value(), row.newDuration != nullptr) << row.what;
        if (left) {
            EXPECT_EQ(CountdownText(*left), row.newDuration) << row.what;
            // Started again, it counts down from there.
            timer.Start(At(11, 0, 0), *left);
            EXPECT_EQ(CountdownText(timer.Tick(At(11, 0, 0), 0)->Remaining), row.newDuration) << row.what;
        }
    }
}

// The plan a firing should give, field by field.
TimerFiring Plan(int32_t notify, std::wstring message, std::array<std::wstring, 3> caption = {},
                 std::wstring notification = {}, TimerOperation operation = TimerOperation::None,
                 std::wstring program = {}, bool force = false) {
    TimerFiring f;
    f.NotifyType = notify;
    f.Message = std::move(message);
    f.Caption = std::move(caption);
    f.Notification = std::move(notification);
    f.Operation = operation;
    f.Program = std::move(program);
    f.Force = force;
    return f;
}

TimerChoices Chosen(std::wstring message, TimerOperation operation = TimerOperation::None, bool force = false) {
    TimerChoices choices;
    choices.Message = std::move(message);
    choices.Operation = operation;
    choices.Force = force;
    return choices;
}

TEST(Countdown, FiringPlan) {
    TimerSettings settings;
    settings.Program = L"C:\\Tools\\alarm.exe";
    TelopSettings telop;
    struct Row {
        const char* what;
        int32_t notify;
        TimerChoices choices;
        std::wstring telopTitle;
        TimerFiring expected;
    };
    const std::wstring news = L"Lumora タイマー速報";
    const std::wstring bath = L"風呂の水が沸きました。";
    const Row rows[] = {
        {"silent", 0, Chosen(L""), L"", Plan(0, DefaultTimerMessage)},
        {"box with the default text", 1, Chosen(L""), L"", Plan(1, DefaultTimerMessage)},
        {"balloon", 2, Chosen(bath), L"", Plan(2, bath, {}, L"タイマー|" + bath)},
        {"caption", 3, Chosen(L"お茶"), L"", Plan(3, L"お茶", {news, L"お茶", news + L"／終"})},
        {"caption under the caption's own title", 3, Chosen(L""), L"夕方の",
         Plan(3, DefaultTimerMessage, {L"夕方の タイマー速報", DefaultTimerMessage, L"夕方の タイマー速報／終"})},
        {"program", 0, Chosen(L"", TimerOperation::RunProgram, true), L"",
         Plan(0, DefaultTimerMessage, {}, {}, TimerOperation::RunProgram, settings.Program)},
        {"forced shutdown", 0, Chosen(L"", TimerOperation::ShutDown, true), L"",
         Plan(0, DefaultTimerMessage, {}, {}, TimerOperation::ShutDown, {}, true)},
        {"hibernation", 0, Chosen(L"", TimerOperation::Hibernate, true), L"",
         Plan(0, DefaultTimerMessage, {}, {}, TimerOperation::Hibernate)},
    };
    for (const Row& row : rows) {
        CountdownTimer timer;
        timer.Choices() = row.choices;
        timer.Start(At(10, 0, 0), Span(0, 0, 5));
        settings.NotifyType = row.notify;
        telop.Title = row.telopTitle;
        EXPECT_EQ(timer.Fire(settings, telop), row.expected) << row.what;
        EXPECT_FALSE(timer.Running()) << row.what;
    }
    // No program to run: nothing to do.
    CountdownTimer timer;
    timer.Choices().Operation = TimerOperation::RunProgram;
    settings.Program.clear();
    EXPECT_EQ(timer.Fire(settings, telop).Operation, TimerOperation::None);
    EXPECT_EQ(TimerBoxCaption(), L"Lumora - タイマー");
}

} // namespace
} // namespace lumora
