#include "settings/SettingsChanges.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace lumora {
namespace {

#define PART(name) std::pair<const char*, bool SettingsChanges::*>(#name, &SettingsChanges::name)

// The parts that are set, in declaration order, so a failure names them.
std::string Names(const SettingsChanges& c) {
    const std::pair<const char*, bool SettingsChanges::*> parts[] = {
        PART(GlyphStrip),  PART(WindowSize),   PART(Background),     PART(KeyColours), PART(TimeFormat),
        PART(Opacity),     PART(Visibility),   PART(ClickThrough),   PART(Stacking),   PART(TrayIcon),
        PART(ToolTips),    PART(TaskbarClock), PART(Menu),           PART(CallSigns),  PART(Logos),
        PART(TestPattern), PART(Calendar),     PART(AdjustSchedule), PART(Priority)};
    std::string names;
    for (const auto& [name, part] : parts) {
        if (c.*part) {
            names += names.empty() ? "" : " ";
            names += name;
        }
    }
    return names;
}

struct Change {
    Change(const char* field, void (*apply)(Settings&)) : Field(field), Apply(apply) {}
    const char* Field;
    void (*Apply)(Settings&);
};

#define CHANGE(field, ...) Change(#field, [](Settings& s) { s.field = __VA_ARGS__; })

struct Row {
    const char* Parts;
    std::vector<Change> Changes; // each one on its own must mark exactly the parts
};

TEST(SettingsChanges, EachKeyMarksExactlyThePartsItFeeds) {
    const Row rows[] = {
        {"GlyphStrip WindowSize",
         {CHANGE(Design.DigitType, 2), CHANGE(Design.DigitStyle, 1), CHANGE(Design.DigitSize, 2),
          CHANGE(Design.DigitFontName, L"Arial"), CHANGE(Design.DigitFontSize, 48), CHANGE(Design.DigitFontStyle, 2),
          CHANGE(Design.DigitFontFullWidth, true), CHANGE(Design.DigitFile, L"digits.bmp"),
          CHANGE(Design.DigitUntouched, true), CHANGE(Design.DigitSpacing, -5),
          CHANGE(Design.DigitSpacingRelative, true)}},
        {"GlyphStrip WindowSize",
         {CHANGE(Design.InnerFrame, true), CHANGE(Design.OuterFrame, false), CHANGE(Design.InnerFrameSize, 5),
          CHANGE(Design.OuterFrameSize, 1), CHANGE(Design.InnerFrameRelative, true),
          CHANGE(Design.OuterFrameRelative, true), CHANGE(Design.Shadow, true), CHANGE(Design.ShadowSize, 4),
          CHANGE(Design.ShadowRelative, true)}},
        {"GlyphStrip KeyColours",
         {CHANGE(Design.DigitColor, 0x123456), CHANGE(Design.InnerFrameColor, 0xFF00FF),
          CHANGE(Design.OuterFrameColor, 0x0000FF), CHANGE(Design.ShadowColor, SystemColourFlag | 16)}},
        {"GlyphStrip Background KeyColours",
         {CHANGE(Design.Color, 0x00FF00), CHANGE(Design.BackGroundType, BackGroundColour)}},
        {"Background",
         {CHANGE(Design.GradationColor1, 0x000000), CHANGE(Design.GradationColor2, 0xFFFFFF),
          CHANGE(Design.GradationStyle, true), CHANGE(Design.BackGroundStyle, 2),
          CHANGE(Design.BackGroundFile, L"back.bmp"), CHANGE(Design.BackGroundAlpha, 128)}},
        {"WindowSize", {CHANGE(Design.DigitMargin[2], 5), CHANGE(Design.Alignment, 2)}},
        {"WindowSize TimeFormat",
         {CHANGE(Format.Hour, false), CHANGE(Format.Minute, false), CHANGE(Format.Second, true)}},
        {"TimeFormat",
         {CHANGE(Format.HourDouble, true), CHANGE(Format.MinuteDouble, false), CHANGE(Format.SecondDouble, false)}},
        {"Opacity Menu", {CHANGE(View.AlphaBlend, 128)}},
        {"Visibility",
         {CHANGE(View.VisibleHours[600], 0), CHANGE(View.AutoHideTime, 30), CHANGE(View.AutoHideTiming, -500),
          CHANGE(View.VisibleChangeType, true), CHANGE(Operation.OnMouseHideThreshold, 5),
          CHANGE(Operation.OnMouseHoleSize, 50), CHANGE(Operation.OnMouseAbortKey, 16),
          CHANGE(Operation.VisibleChangeKey, 0x4041)}},
        {"Visibility ClickThrough", {CHANGE(Operation.OnMouseHideType, 3)}},
        {"Stacking", {CHANGE(View.Placement.ZOrder, 2)}},
        {"TrayIcon", {CHANGE(View.TaskTrayIcon, false)}},
        {"ToolTips",
         {CHANGE(View.ToolTipStyle, 2), CHANGE(View.ToolTipFormat, L"\\d"), CHANGE(View.TaskTrayToolTipFormat, L"")}},
        {"TaskbarClock", {CHANGE(View.HideTaskTrayClock, true)}},
        {"Menu",
         {CHANGE(View.ShowMenuIcon, true), CHANGE(View.UseModernMenu, true), CHANGE(Operation.Fixed, true),
          CHANGE(Omake.ShowTestPattern, true)}},
        {"CallSigns TestPattern",
         {CHANGE(Telop.FontName, L"Meiryo"), CHANGE(Omake.StationName, L"Lumora TV"), CHANGE(Omake.CallSign, L"JOLM"),
          CHANGE(Omake.DigitalMaster, true)}},
        {"CallSigns",
         {CHANGE(Omake.CallSignWindow, true), CHANGE(Omake.CallSignAlignment, 1), CHANGE(Omake.TestingWave, false)}},
        {"TestPattern", {CHANGE(Omake.Channel, 8), CHANGE(Omake.ParentBureauName, L"Osaka")}},
        {"Logos",
         {CHANGE(Omake.LogoWindow, true), CHANGE(Omake.LogoAlignment, 0), CHANGE(Omake.LogoFile, L"logo.bmp")}},
        {"Calendar", {CHANGE(View.CalendarFontName, L"Meiryo")}},
        {"Menu Calendar",
         {CHANGE(WorldClock.WorldClockMode, true), CHANGE(WorldClock.TimeDiffTime, -0.5),
          CHANGE(WorldClock.WorldClockTime, NeverDate)}},
        {"Menu AdjustSchedule",
         {CHANGE(AdjustClock.AdjustType, 1), CHANGE(AdjustClock.CurrentNTPServer, L"ntp.example.jp"),
          CHANGE(AdjustClock.CurrentHTTPServer, L"www.example.jp"), CHANGE(AdjustClock.CurrentJJYPort, L"COM3")}},
        {"AdjustSchedule",
         {CHANGE(AdjustClock.AutoAdjust, true), CHANGE(AdjustClock.BootAdjust, true),
          CHANGE(AdjustClock.AutoAdjustInterval, 0.5)}},
        {"Priority", {CHANGE(Boot.Priority, 32)}},
        // Read afresh where they are used, or only at the next start.
        {"",
         {CHANGE(View.Placement.Left, 300), CHANGE(View.Placement.Top, 400), CHANGE(View.OptionSelectedTab, 3),
          CHANGE(View.OpenDialogAutoPlay, true), CHANGE(View.CustomColors[0], L"0000FF"),
          CHANGE(View.ToolTipTime, 5000), CHANGE(View.ShowCalendar, true), CHANGE(Operation.SnapWindow, false),
          CHANGE(Operation.SnapPoint[1], 0), CHANGE(Format.Hour12, false), CHANGE(Format.Hour0, false),
          CHANGE(Format.Hour24, false), CHANGE(Animation.Type, 7), CHANGE(Animation.Timing, 100),
          CHANGE(Animation.FlashColonType, 1), CHANGE(WorldClock.TimeZone, 5)}},
        {"",
         {CHANGE(CuckooClock.CuckooClockMode, 1), CHANGE(CuckooClock.WildBirdSound[7], L"bird.wav"),
          CHANGE(AdjustClock.NTPLocalPort, 123), CHANGE(AdjustClock.HTTPProxyServer, L"proxy"),
          CHANGE(AdjustClock.JJYOffset, 100), CHANGE(AdjustClock.LastConnectedTime, 46000.0),
          CHANGE(AdjustClock.AdjustMessage, false), CHANGE(NTPServer, {L"ntp.example.jp"}),
          CHANGE(IgnoreWindows, {{L"", L"Notepad"}}), CHANGE(Timer.Time, 0.5), CHANGE(Telop.Title, L"News"),
          CHANGE(Telop.ScrollSpeed, 5), CHANGE(Omake.OmakeWindow, true), CHANGE(Omake.LogoRelative, true),
          CHANGE(Boot.NoCheckDuplicate, true), CHANGE(Boot.BootDelayValue, 3000), CHANGE(Boot.ShowSplash, false)}},
    };
    const Settings defaults = DefaultSettings({});
    EXPECT_FALSE(CompareSettings(defaults, defaults).Any());
    for (const Row& row : rows) {
        for (const Change& change : row.Changes) {
            Settings changed = defaults;
            change.Apply(changed);
            ASSERT_NE(changed, defaults) << change.Field << " keeps its default";
            EXPECT_EQ(Names(CompareSettings(defaults, changed)), row.Parts) << change.Field;
            EXPECT_EQ(Names(CompareSettings(changed, defaults)), row.Parts) << change.Field << ", changed back";
        }
    }
}

} // namespace
} // namespace lumora
