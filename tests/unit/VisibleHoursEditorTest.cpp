#include "options/ViewPages.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int Monday = 0, Tuesday = 1, Wednesday = 2, Friday = 4, Saturday = 5, Sunday = 6;

size_t At(int day, int hour, int minute) {
    return static_cast<size_t>(day * 1440 + hour * 60 + minute);
}

TEST(VisibleHoursEditor, BroadcastPresetFollowsTheWeekdayAndWeekendHours) {
    VisibleHoursEditor editor;
    editor.ApplyPreset(VisibleHoursPreset::Broadcast);
    struct Case {
        int Day, Hour, Minute, Expected;
    };
    const Case cases[] = {
        {Saturday, 12, 30, 0}, {Saturday, 12, 0, 2}, {Wednesday, 12, 30, 1}, {Sunday, 18, 59, 0},
        {Monday, 3, 59, 0},    {Monday, 4, 0, 1},    {Sunday, 9, 59, 1},     {Tuesday, 10, 0, 2},
        {Tuesday, 10, 1, 0},   {Monday, 19, 0, 2},   {Monday, 19, 1, 0},     {Sunday, 20, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editor.Week()[At(c.Day, c.Hour, c.Minute)], c.Expected) << c.Day << " " << c.Hour << ":" << c.Minute;
    }
}

TEST(VisibleHoursEditor, OneGreyMinuteEnablesTheTemporaryFields) {
    VisibleTimePage page;
    page.Hours.ApplyPreset(VisibleHoursPreset::HideWeek);
    EXPECT_FALSE(page.Evaluate().TemporaryGroupEnabled);

    page.Hours.Switch(Sunday, 23, page.Hours.ShownMinutes());
    const int last[] = {59};
    page.Hours.StoreMinutes(last, NextMinuteState(NextMinuteState(0)));
    EXPECT_TRUE(page.Evaluate().TemporaryGroupEnabled);
    page.Hours.StoreMinutes(last, NextMinuteState(2));
    EXPECT_FALSE(page.Evaluate().TemporaryGroupEnabled);

    page.Hours.ApplyPreset(VisibleHoursPreset::TemporaryDay); // Sunday only
    EXPECT_EQ(page.Hours.Week()[At(Saturday, 23, 59)], 0);
    EXPECT_TRUE(page.Evaluate().TemporaryGroupEnabled);
}

TEST(VisibleHoursEditor, SwitchingDaysKeepsTheEditedHour) {
    VisibleHoursEditor editor;
    MinuteStates boxes = editor.Switch(Monday, 8, editor.ShownMinutes());
    boxes[15] = 0;
    boxes[30] = 2;
    const MinuteStates tuesday = editor.Switch(Tuesday, editor.Hour(), boxes);

    EXPECT_EQ(editor.Day(), Tuesday);
    EXPECT_EQ(editor.Hour(), 8);
    MinuteStates allShown{};
    allShown.fill(1);
    EXPECT_EQ(tuesday, allShown);
    EXPECT_EQ(editor.Week()[At(Monday, 8, 15)], 0);
    EXPECT_EQ(editor.Week()[At(Monday, 8, 30)], 2);
    EXPECT_EQ(editor.Week()[At(Monday, 8, 14)], 1);
    EXPECT_EQ(editor.Switch(Monday, 8, tuesday), boxes);
}

TEST(VisibleHoursEditor, TheWeekReachesTheSettingsOnApplyOnly) {
    Settings settings;
    settings.View.VisibleHours[At(Sunday, 23, 59)] = 2;
    settings.View.VisibleHours[At(Monday, 0, 5)] = 7; // behaves as hidden, and shows so
    settings.View.VisibleHours[At(Friday, 3, 5)] = 7; // kept while its hour is never shown
    VisibleTimePage page = VisibleTimePage::Load(settings);
    EXPECT_TRUE(page.Evaluate().TemporaryGroupEnabled);
    EXPECT_EQ(page.Hours.ShownMinutes()[5], 0);

    MinuteStates boxes = page.Hours.Switch(Wednesday, 12, page.Hours.ShownMinutes());
    boxes[0] = 0;
    page.Hours.StoreShownMinutes(boxes);
    auto expected = settings.View.VisibleHours;
    page.Apply(settings);

    expected[At(Monday, 0, 5)] = 0;
    expected[At(Wednesday, 12, 0)] = 0;
    EXPECT_EQ(settings.View.VisibleHours, expected);
}

} // namespace
} // namespace lumora
