#include "options/OptionValues.h"
#include "settings/SettingsSchema.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumora {
namespace {

OptionFacts Facts(bool layered = true) {
    OptionFacts f;
    f.Display = {layered, 32};
    f.Fonts = {{L"MS UI Gothic", L"Arial", L"Meiryo"}, {}, L"MS UI Gothic"};
    f.Ports = {L"COM1", L"COM3"};
    f.Boot.PriorityClass = IdlePriorityClass;
    f.Boot.LayeredWindowsAvailable = layered;
    return f;
}

Settings Applied(OptionValues& values, const Settings& before, const OptionFacts& facts = Facts()) {
    Settings after = before;
    values.Apply(after, facts, true, before.View.OptionSelectedTab);
    return after;
}

TEST(OptionValues, LoadThenApplyKeepsEveryValue) {
    Settings s = DefaultSettings({});
    s.Design.DigitType = 1;
    s.Design.DigitFontName = L"Arial";
    s.Design.DigitFontSize = 40;
    s.Design.DigitFontStyle = 3;
    s.Design.DigitFontFullWidth = true;
    s.Design.DigitSpacing = -7;
    s.Design.DigitMargin = {1, 2, 3, 4};
    s.Design.InnerFrame = true;
    s.Design.InnerFrameSize = 4;
    s.Design.ShadowColor = 0x123456;
    s.Design.BackGroundType = 3;
    s.Design.BackGroundStyle = 0;
    s.Design.BackGroundAlpha = 100;
    s.Design.GradationStyle = true;
    s.Format = {true, false, false, true, true, true, false, true, true};
    s.View.AutoHideTime = 30;
    s.View.AutoHideTiming = -5000;
    s.View.ToolTipTime = 3000;
    s.View.CalendarFontName = L"Meiryo";
    s.View.CustomColors[3] = L"ABCDEF";
    s.IgnoreWindows = {{L"t", L"c"}};
    s.Animation = {5, 40, -300, 2, true};
    s.Telop.ScrollSpeed = 100;
    s.Telop.ChangeSpeed = 2500;
    s.Operation.SnapPoint = {-20, 30};
    s.Operation.SnapMode = 0;
    s.Operation.OnMouseHideType = 2;
    s.Operation.OnMouseAbortKey = 16;
    s.Operation.VisibleChangeKey = 0x4041;
    s.View.VisibleChangeType = true;
    s.CuckooClock.CuckooClockMode = 2;
    s.CuckooClock.WildBirdSound[23] = L"late.wav";
    s.CuckooClock.CuckooClockTiming = -1500;
    s.AdjustClock.AdjustType = 2;
    s.AdjustClock.CurrentHTTPServer = L"www.example.jp";
    s.AdjustClock.HTTPProxyPort = 8080;
    s.AdjustClock.CurrentJJYPort = L"COM3";
    s.AdjustClock.AutoAdjustInterval = 90 * OneMinute;
    s.AdjustClock.LastConnectedTime = 46000.5;
    s.HTTPServer = {L"www.example.jp"};
    s.Boot.BootDelayValue = 2500;
    s.Omake.Channel = 27;
    s.Omake.LogoAlignment = 0;
    s.View.OptionSelectedTab = 13;

    auto values = OptionValues::Load(s, Facts());
    EXPECT_EQ(Applied(values, s), s);
}

// Every setting the dialog shows, away from its default; the rest keep theirs.
Settings EveryDialogSettingChanged() {
    Settings s = DefaultSettings({});
    s.Design = {.Alignment = 2,
                .DigitType = 2,
                .DigitStyle = 1,
                .DigitSize = 2,
                .DigitFontName = L"Arial",
                .DigitFontSize = 40,
                .DigitFontStyle = 3,
                .DigitFontFullWidth = true,
                .DigitFile = L"digits.bmp",
                .DigitUntouched = true,
                .DigitSpacing = -7,
                .DigitSpacingRelative = true,
                .DigitMargin = {1, 2, 3, 4},
                .DigitColor = 0x112233,
                .Color = 0x223344,
                .GradationColor1 = 0x334455,
                .GradationColor2 = 0x445566,
                .GradationStyle = true,
                .BackGroundType = 3,
                .BackGroundStyle = 2,
                .BackGroundFile = L"back.bmp",
                .BackGroundAlpha = 100,
                .InnerFrame = true,
                .OuterFrame = false,
                .InnerFrameColor = 0x556677,
                .OuterFrameColor = 0x667788,
                .InnerFrameSize = 3,
                .OuterFrameSize = 4,
                .InnerFrameRelative = true,
                .OuterFrameRelative = true,
                .Shadow = true,
                .ShadowColor = 0x778899,
                .ShadowSize = 5,
                .ShadowRelative = true};
    // Hour, Hour12 and HourDouble are one choice, as are each part and its leading zero.
    s.Format = {.Hour = true,
                .Hour12 = false,
                .Hour0 = false,
                .Hour24 = false,
                .HourDouble = true,
                .Minute = true,
                .MinuteDouble = false,
                .Second = true,
                .SecondDouble = false};
    auto& v = s.View;
    v.OptionSelectedTab = 13;
    v.HideTaskTrayClock = true;
    v.CustomColors[3] = L"ABCDEF";
    v.VisibleHours[100] = 2;
    v.AutoHideTime = 30;
    v.AutoHideTiming = -5000;
    v.CalendarFontName = L"Meiryo";
    v.ToolTipStyle = 2;
    v.ToolTipFormat = L"hh:nn";
    v.ToolTipTime = 3000;
    v.TaskTrayIcon = false;
    v.TaskTrayToolTipFormat = L"yyyy";
    v.ShowCalendar = true;
    v.VisibleChangeType = true;
    v.ShowMenuIcon = true;
    v.UseModernMenu = true;
    s.Operation = {.SnapWindow = false,
                   .NoProtrudeSnap = false,
                   .SnapPosition = 20,
                   .SnapMode = 0,
                   .SnapPoint = {-20, 30},
                   .OnMouseHideType = 2,
                   .OnMouseHideThreshold = 5,
                   .OnMouseHoleSize = 50,
                   .OnMouseAbortKey = 16,
                   .VisibleChangeKey = 0x4041};
    s.Animation = {.Type = 5, .Speed = 40, .Timing = -300, .FlashColonType = 2, .ReverseFlash = true};
    s.CuckooClock = {.CuckooClockMode = 2,
                     .CuckooClockRepeat = true,
                     .CuckooClock30 = true,
                     .WildBirdSound = {L"early.wav"},
                     .FirstCuckooClockFile = L"first.wav",
                     .RepeatCuckooClockFile = L"repeat.wav",
                     .LastCuckooClockFile = L"last.wav",
                     .CuckooClockTiming = -1500,
                     .InVisibleSilent = true,
                     .NotifyType = 1,
                     .Message = L"time"};
    s.CuckooClock.WildBirdSound[23] = L"late.wav";
    s.AdjustClock = {.AdjustType = 2,
                     .CurrentNTPServer = L"ntp.example.jp",
                     .NTPLocalPort = 123,
                     .NTPTimeOut = 20,
                     .NTPOffset = 50,
                     .CurrentHTTPServer = L"www.example.jp",
                     .HTTPProxyServer = L"proxy",
                     .HTTPProxyPort = 8080,
                     .HTTPTimeOut = 30,
                     .HTTPOffset = -40,
                     .AdjustMessage = false,
                     .BootAdjust = true,
                     .AutoAdjust = true,
                     .AutoAdjustInterval = 90 * OneMinute,
                     .AdjustSound = true,
                     .AdjustSoundFile = L"ok.wav",
                     .CurrentJJYPort = L"COM3",
                     .JJYTimeOut = 25,
                     .JJYOffset = 60};
    s.NTPServer = {L"ntp.example.jp"};
    s.HTTPServer = {L"www.example.jp"};
    s.IgnoreWindows = {{L"t", L"c"}};
    s.Telop = {.FontName = L"Meiryo",
               .Title = L"title",
               .Scroll = true,
               .Flash = true,
               .ChangeSpeed = 2500,
               .ScrollSpeed = 100,
               .FlashSpeed = 500,
               .FlashCount = 7,
               .Sound = true,
               .SoundFile = L"telop.wav"};
    s.Omake = {.OmakeWindow = true,
               .ShowTestPattern = true,
               .LogoWindow = true,
               .LogoAlignment = 0,
               .LogoFile = L"logo.bmp",
               .CallSignWindow = true,
               .CallSignAlignment = 2,
               .StationName = L"station",
               .ParentBureauName = L"bureau",
               .CallSign = L"JOXX",
               .Channel = 270,
               .DigitalMaster = true,
               .TestingWave = false};
    s.Boot = {.NoCheckDuplicate = true,
              .BootDelay = true,
              .BootDelayValue = 2500,
              .ShowSplash = false,
              .Priority = OfferedPriorityClasses[4]};
    return s;
}

// A field a page loads but never writes back (or writes from elsewhere) keeps the default here.
TEST(OptionValues, ApplyWritesEverySettingThePagesLoad) {
    const Settings changed = EveryDialogSettingChanged();
    OptionFacts facts = Facts();
    facts.Boot.PriorityClass = changed.Boot.Priority; // the box shows the process's class
    auto values = OptionValues::Load(changed, facts);
    Settings applied = DefaultSettings({});
    values.Apply(applied, facts, true, changed.View.OptionSelectedTab);

    const std::pair<const char*, bool> sections[] = {
        {"Design", applied.Design == changed.Design},
        {"Format", applied.Format == changed.Format},
        {"View", applied.View == changed.View},
        {"Operation", applied.Operation == changed.Operation},
        {"Animation", applied.Animation == changed.Animation},
        {"CuckooClock", applied.CuckooClock == changed.CuckooClock},
        {"AdjustClock", applied.AdjustClock == changed.AdjustClock},
        {"server lists", applied.NTPServer == changed.NTPServer && applied.HTTPServer == changed.HTTPServer},
        {"IgnoreWindows", applied.IgnoreWindows == changed.IgnoreWindows},
        {"Telop", applied.Telop == changed.Telop},
        {"Omake", applied.Omake == changed.Omake},
        {"Boot", applied.Boot == changed.Boot},
    };
    for (const auto& [section, same] : sections) {
        EXPECT_TRUE(same) << section;
    }
}

// A field's text typed in the dialog, what Apply stores and what the field shows afterwards.
struct TypedCase {
    const char* Field;
    std::wstring& (*Text)(OptionValues&);
    int32_t (*Stored)(const Settings&);
    const wchar_t* Typed;
    int32_t Expected;
};

#define TYPED(page, setting, typed, expected)                                                                          \
    TypedCase {                                                                                                        \
#page, [](OptionValues &                                                                                       \
                  v) -> std::wstring& { return v.page; }, [](const Settings&                                           \
                                                                 s) { return static_cast<int32_t>(s.setting); },       \
                                                                                                              typed,   \
                                                                                                              expected \
    }

TEST(OptionValues, TypedNumbersAreKeptWithinTheirRanges) {
    Settings s = DefaultSettings({});
    // Where a field falls back to its up-down's position, that is the stored value.
    s.AdjustClock.JJYTimeOut = 25;
    s.Boot.BootDelayValue = 500;
    s.Operation.OnMouseHideThreshold = 7;
    const TypedCase cases[] = {
        TYPED(Adjust.KitTimeOut, AdjustClock.JJYTimeOut, L"0", 1),
        TYPED(Adjust.KitTimeOut, AdjustClock.JJYTimeOut, L"", 25),
        TYPED(Boot.DelayValue, Boot.BootDelayValue, L"99999", 60000),
        TYPED(Boot.DelayValue, Boot.BootDelayValue, L"x", 500),
        TYPED(Background.Margins[2], Design.DigitMargin[2], L"999", 255),
        TYPED(Adjust.ProxyPort, AdjustClock.HTTPProxyPort, L"", 80),
        TYPED(Adjust.NtpPort, AdjustClock.NTPLocalPort, L"-", 80),
        TYPED(Adjust.NtpPort, AdjustClock.NTPLocalPort, L"123456", 9999),
        TYPED(Adjust.NtpTimeOut, AdjustClock.NTPTimeOut, L"", 1),
        TYPED(Adjust.HttpOffset, AdjustClock.HTTPOffset, L"-700000", -600000),
        TYPED(Operation.Threshold, Operation.OnMouseHideThreshold, L"abc", 7),
        TYPED(Operation.SnapX, Operation.SnapPoint[0], L"-999", -200),
        TYPED(Operation.SnapPosition, Operation.SnapPosition, L"0", 1),
        TYPED(Effects.Timing, Animation.Timing, L"5000", 1000),
        TYPED(Telop.FlashCount, Telop.FlashCount, L"0", 1),
        TYPED(VisibleTime.AutoHideTime, View.AutoHideTime, L"61", 60),
        TYPED(Digit.Spacing, Design.DigitSpacing, L"-51", -50),
        TYPED(Frame.Shadow.Size, Design.ShadowSize, L"9", 5),
        TYPED(Cuckoo.Timing, CuckooClock.CuckooClockTiming, L"60001", 60000),
        TYPED(ToolTip.Time, View.ToolTipTime, L"40000", 30000),
        TYPED(Omake.Channel, Omake.Channel, L"150", 62),
        // The interval's floor is the loader's, 10 minutes.
        TYPED(Adjust.Interval, AdjustClock.AutoAdjustInterval * 1440 + 0.5, L"3", 10),
        TYPED(Adjust.Interval, AdjustClock.AutoAdjustInterval * 1440 + 0.5, L"20000", 10080),
        TYPED(Adjust.Interval, AdjustClock.AutoAdjustInterval * 1440 + 0.5, L"45", 45),
    };
    for (const auto& c : cases) {
        auto values = OptionValues::Load(s, Facts());
        c.Text(values) = c.Typed;
        const Settings after = Applied(values, s);
        EXPECT_EQ(c.Stored(after), c.Expected) << c.Field << " typed " << testing::PrintToString(c.Typed);
        EXPECT_EQ(c.Text(values), std::to_wstring(c.Expected)) << c.Field;
    }
}

TEST(OptionValues, FontSizeBox) {
    const struct {
        const wchar_t* Typed;
        int32_t Stored;
        const wchar_t* Shown;
    } cases[] = {{L"自動", 0, L"自動"}, {L"", 0, L"自動"},     {L"abc", 0, L"自動"}, {L"0", 12, L"12"},
                 {L"8", 12, L"12"},     {L"300", 200, L"200"}, {L"52", 52, L"52"}};
    for (const auto& c : cases) {
        std::wstring text = c.Typed;
        EXPECT_EQ(TakeFontSize(text), c.Stored) << testing::PrintToString(c.Typed);
        EXPECT_EQ(text, c.Shown);
    }
    EXPECT_EQ(FontSizeText(0), L"自動");
    EXPECT_EQ(FontSizeText(96), L"96");
}

TEST(OptionValues, HourMinuteAndSecondChoices) {
    // Hour, Hour12, HourDouble and the choice, both ways.
    const struct {
        bool Hour, Hour12, Double;
        int Choice;
    } hours[] = {{false, true, false, 0},
                 {true, true, false, 1},
                 {true, true, true, 2},
                 {true, false, false, 3},
                 {true, false, true, 4}};
    for (const auto& h : hours) {
        FormatSettings f;
        f.Hour = h.Hour, f.Hour12 = h.Hour12, f.HourDouble = h.Double;
        EXPECT_EQ(HourChoice(f), h.Choice);
        FormatSettings back;
        ApplyHourChoice(h.Choice, back);
        EXPECT_EQ(back.Hour, h.Hour) << h.Choice;
        EXPECT_EQ(HourChoice(back), h.Choice);
    }
    EXPECT_EQ(PartChoice(false, true), 0);
    EXPECT_EQ(PartChoice(true, false), 1);
    EXPECT_EQ(PartChoice(true, true), 2);
    bool shown = true, twoDigits = true;
    ApplyPartChoice(1, shown, twoDigits);
    EXPECT_TRUE(shown && !twoDigits);
    ApplyPartChoice(0, shown, twoDigits);
    EXPECT_FALSE(shown);
}

TEST(OptionValues, CustomColoursThatAreNotHexadecimalAreBlack) {
    std::vector<std::wstring> items = ViewSettings::DefaultCustomColors();
    items[0] = L"12ab34";
    items[1] = L"GG0000";
    items[2] = L"-10000";
    items[3] = L"$FF";
    const auto colours = CustomColoursForDialog(items);
    EXPECT_EQ(colours[0], 0x12AB34u);
    EXPECT_EQ(colours[1], 0u);
    EXPECT_EQ(colours[2], 0u);
    EXPECT_EQ(colours[3], 0u);
    EXPECT_EQ(colours[15], 0xF0F0F0u);
    const auto back = CustomColourItems(colours);
    EXPECT_EQ(back[0], L"12AB34");
    EXPECT_EQ(back[1], L"000000");
    EXPECT_EQ(back[15], L"F0F0F0");
}

TEST(OptionValues, CustomColoursLeftAloneAreWrittenAsTheyWereRead) {
    Settings s = DefaultSettings({});
    s.View.CustomColors[0] = L"12ab34";
    s.View.CustomColors[1] = L"ff";
    s.View.CustomColors[2] = L"nothex";
    auto values = OptionValues::Load(s, Facts());
    values.CustomColours[3] = 0x0000FF; // the user's one change in the colour dialog
    const Settings after = Applied(values, s);
    EXPECT_EQ(after.View.CustomColors[0], L"12ab34");
    EXPECT_EQ(after.View.CustomColors[1], L"ff");
    EXPECT_EQ(after.View.CustomColors[2], L"000000");
    EXPECT_EQ(after.View.CustomColors[3], L"0000FF");
    EXPECT_EQ(after.View.CustomColors[15], L"F0F0F0");
}

TEST(OptionValues, UnreadableFieldsTakeTheirUpDownsPosition) {
    Settings s = DefaultSettings({});
    s.AdjustClock.JJYTimeOut = 25;
    s.Boot.BootDelayValue = 500;
    auto values = OptionValues::Load(s, Facts());
    EXPECT_EQ(values.Adjust.KitTimeOutPosition, 25);
    EXPECT_EQ(values.Boot.DelayPosition, 500);
    // The arrows moved both before their text was cleared.
    values.Adjust.KitTimeOut.clear();
    values.Adjust.KitTimeOutPosition = 31;
    values.Boot.DelayValue = L"x";
    values.Boot.DelayPosition = 1200;
    const Settings after = Applied(values, s);
    EXPECT_EQ(after.AdjustClock.JJYTimeOut, 31);
    EXPECT_EQ(after.Boot.BootDelayValue, 1200);
    EXPECT_EQ(values.Adjust.KitTimeOut, L"31");
    EXPECT_EQ(values.Boot.DelayValue, L"1200");
}

TEST(OptionValues, ColourBoxEntries) {
    // Every entry is a colour the settings file names, and no colour has two entries.
    const auto choices = ColourChoices();
    ASSERT_EQ(choices.size(), 46u);
    for (size_t i = 0; i < choices.size(); ++i) {
        EXPECT_TRUE(ColourName(choices[i].Value).has_value()) << i;
        EXPECT_EQ(ColourChoiceIndex(choices[i].Value), static_cast<int>(i));
    }
    EXPECT_EQ(choices[ColourChoiceIndex(0x0000FF)].Name, L"赤");
    EXPECT_EQ(choices[ColourChoiceIndex(0x8000000F)].Name, L"ボタンの表面");
    // Neither standard nor offered system colours: shown as custom.
    EXPECT_EQ(ColourChoiceIndex(0x123456), -1);
    EXPECT_EQ(ColourChoiceIndex(0x80000019), -1);
    EXPECT_EQ(ColourChoiceIndex(0xC0DCC0), -1);
    EXPECT_EQ(CustomColourText(0x563412), L"RGB(18, 52, 86)");
    EXPECT_EQ(CustomColourText(0x80000019), L"システム カラー 25");
}

TEST(OptionValues, DesignRules) {
    DigitPage digit;
    digit.DigitType = DigitTypeFont;
    digit.Spacing = L"0";
    EXPECT_FALSE(digit.Evaluate(false).FullWidthEnabled);
    EXPECT_FALSE(digit.Evaluate(std::nullopt).FullWidthEnabled);
    EXPECT_TRUE(digit.Evaluate(true).FullWidthEnabled);
    EXPECT_FALSE(digit.Evaluate(true).SpacingRelativeEnabled);
    digit.Spacing = L"-3";
    EXPECT_TRUE(digit.Evaluate(true).SpacingRelativeEnabled);
    EXPECT_TRUE(digit.Evaluate(true).FontShown && !digit.Evaluate(true).BuiltInShown);

    // A checked full-width box counts only while enabled.
    Settings s = DefaultSettings({});
    digit.FullWidth = true;
    digit.FontSize = L"自動";
    digit.Apply(s, false);
    EXPECT_FALSE(s.Design.DigitFontFullWidth);
    digit.Apply(s, true);
    EXPECT_TRUE(s.Design.DigitFontFullWidth);

    // Untouched custom digits have no colour and so no outlines or shadow.
    digit.DigitType = DigitTypeFile;
    digit.Untouched = true;
    EXPECT_FALSE(digit.Evaluate(true).FontColourEnabled);
    FramePage frame;
    frame.Outer.On = frame.Inner.On = frame.Shadow.On = true;
    const auto off = frame.Evaluate(false);
    EXPECT_FALSE(off.OuterCheckEnabled || off.InnerCheckEnabled || off.ShadowEnabled);
    frame.Outer.On = false;
    const auto on = frame.Evaluate(true);
    EXPECT_TRUE(on.ShadowEnabled);
    EXPECT_FALSE(on.InnerCheckEnabled || on.InnerEnabled || on.OuterEnabled);
    EXPECT_EQ(SizeUnitText(true), L"ポイント");
    EXPECT_EQ(SizeUnitText(false), L"ピクセル");
}

TEST(OptionValues, FillColourFollowsBackgroundTypeAndPosition) {
    const struct {
        int Type, Style;
        bool Shown, Enabled;
    } cases[] = {{1, 1, true, true},  {3, 0, true, true},   {3, 1, true, false},
                 {3, 2, true, false}, {2, 0, false, false}, {0, 0, false, false}};
    for (const auto& c : cases) {
        BackgroundPage page;
        page.Type = c.Type;
        page.Style = c.Style;
        const auto rules = page.Evaluate({});
        EXPECT_EQ(rules.FillShown, c.Shown) << c.Type << "/" << c.Style;
        EXPECT_EQ(rules.FillEnabled, c.Enabled) << c.Type << "/" << c.Style;
    }
    BackgroundPage page;
    page.Type = 2;
    EXPECT_TRUE(page.Evaluate({true, 16}).OpacityEnabled);
    EXPECT_FALSE(page.Evaluate({true, 8}).OpacityEnabled);
    EXPECT_FALSE(page.Evaluate({false, 32}).OpacityEnabled);
}

TEST(OptionValues, EntriesMissingWithoutLayeredWindows) {
    Settings s = DefaultSettings({});
    s.Animation.Type = 8;
    s.Operation.OnMouseHideType = 3;
    auto values = OptionValues::Load(s, Facts(false));
    EXPECT_EQ(values.Effects.Effect, -1);
    EXPECT_EQ(values.Operation.OnMouse, 0);
    EXPECT_EQ(Applied(values, s, Facts(false)).Animation.Type, 8);
    EXPECT_EQ(OptionValues::Load(s, Facts(true)).Effects.Effect, 8);

    // Priority entries: six with layered windows, four without.
    EXPECT_EQ(PriorityClassOfEntry(1, true), 16384);
    EXPECT_EQ(PriorityClassOfEntry(1, false), 32);
    EXPECT_EQ(PriorityClassOfEntry(2, false), 128);
    EXPECT_EQ(PriorityEntryOfClass(32768, false), 1); // no entry: "通常"
    EXPECT_EQ(PriorityEntryOfClass(32768, true), 3);
    EXPECT_EQ(PriorityEntryOfClass(12345, true), 2);
    EXPECT_TRUE(PriorityNeedsConfirmation(PriorityClassOfEntry(2, false)));
    EXPECT_FALSE(PriorityNeedsConfirmation(PriorityClassOfEntry(3, true)));
}

TEST(OptionValues, AbortKeySurvivesApplyAndReopen) {
    const int32_t cases[][2] = {{18, 18}, {16, 16}, {17, 17}, {0, 17}};
    for (const auto& c : cases) {
        Settings s = DefaultSettings({});
        s.Operation.OnMouseAbortKey = c[0];
        auto values = OptionValues::Load(s, Facts());
        const Settings after = Applied(values, s);
        EXPECT_EQ(after.Operation.OnMouseAbortKey, c[1]) << c[0];
        EXPECT_EQ(OptionValues::Load(after, Facts()).Operation.Abort, values.Operation.Abort) << c[0];
    }
    OperationPage page;
    EXPECT_EQ(page.KeyCodeText(), L"");
    page.HotKey = 0x2041;
    EXPECT_EQ(page.KeyCodeText(), L"キーコード: 8257");
}

TEST(OptionValues, ChannelLimitFollowsDigitalMaster) {
    OmakePage page;
    page.DigitalMaster = true;
    EXPECT_EQ(page.Evaluate().ChannelRange.Max, 999);
    EXPECT_EQ(page.Evaluate().ChannelDigits, 3);
    page.Channel = L"150";
    Settings s = DefaultSettings({});
    page.Apply(s);
    EXPECT_EQ(s.Omake.Channel, 150);
    page.DigitalMaster = false;
    EXPECT_EQ(page.Evaluate().ChannelDigits, 2);
    page.Apply(s);
    EXPECT_EQ(s.Omake.Channel, 62);
    EXPECT_EQ(page.Channel, L"62");
}

TEST(OptionValues, KitPort) {
    const struct {
        const wchar_t* Stored;
        std::vector<std::wstring> Ports;
        int Selected;
        const wchar_t* Applied;
    } cases[] = {
        {L"COM3", {L"COM1", L"COM3"}, 1, L"COM3"},
        {L"com3", {L"COM1", L"COM3"}, 0, L"COM1"}, // lower case matches no entry
        {L"COM7", {}, -1, L"COM7"},                // no port to choose: the stored one stays
    };
    for (const auto& c : cases) {
        Settings s = DefaultSettings({});
        s.AdjustClock.CurrentJJYPort = c.Stored;
        auto page = AdjustPage::Load(s, c.Ports, {});
        EXPECT_EQ(page.Port, c.Selected) << testing::PrintToString(c.Stored);
        page.Apply(s);
        EXPECT_EQ(s.AdjustClock.CurrentJJYPort, c.Applied);
    }
    EXPECT_FALSE(AdjustPage::MethodAllowed(AdjustPage::MethodKit, false));
    EXPECT_TRUE(AdjustPage::MethodAllowed(AdjustPage::MethodHttp, false));
}

TEST(OptionValues, AdjustmentRules) {
    AdjustClockSettings stored;
    stored.AdjustType = 1;
    stored.CurrentNTPServer = L"ntp.example.jp";
    stored.CurrentHTTPServer = L"www.example.jp";
    AdjustPage page;
    page.NtpServer = stored.CurrentNTPServer;
    page.HttpServer = stored.CurrentHTTPServer;
    const struct {
        int Method;
        const wchar_t* Ntp;
        bool OnApply, WhileEditing;
    } cases[] = {
        {1, L"ntp.example.jp", false, false}, {2, L"ntp.example.jp", true, true}, {0, L"ntp.example.jp", false, false},
        {3, L"ntp.example.jp", false, true},  {1, L"NTP.example.jp", true, true},
    };
    for (const auto& c : cases) {
        page.Method = c.Method;
        page.NtpServer = c.Ntp;
        EXPECT_EQ(page.ForgetsLastContact(stored, false), c.OnApply) << c.Method;
        EXPECT_EQ(page.ForgetsLastContact(stored, true), c.WhileEditing) << c.Method;
    }

    page.NtpServers = {L"ntp.example.jp"};
    page.NtpServer = L"NTP.Example.jp";
    const auto listed = page.Evaluate().Ntp;
    EXPECT_TRUE(listed.Test && listed.Delete && !listed.Add);
    page.NtpServer = L"";
    const auto empty = page.Evaluate().Ntp;
    EXPECT_FALSE(empty.Test || empty.Add || empty.Delete);

    EXPECT_FALSE(page.PortSelected());
    page.Port = 0;
    EXPECT_FALSE(page.PortSelected()) << "no entry behind the selection";
    page.Ports = {L"COM3"};
    EXPECT_TRUE(page.PortSelected());
    page.BootAdjust = true;
    EXPECT_TRUE(page.Evaluate().MessageEnabled && !page.Evaluate().IntervalEnabled);
}

TEST(OptionValues, DeletingAServer) {
    const struct {
        int Selected;
        const wchar_t* Text;
        std::optional<int> Next;
        std::vector<std::wstring> Left;
    } cases[] = {
        {1, L"b.example", 0, {L"a.example", L"c.example"}},
        {0, L"a.example", -1, {L"b.example", L"c.example"}},
        {-1, L"C.Example", 1, {L"a.example", L"b.example"}}, // typed into the box, not chosen
        {0, L"c.example", 1, {L"a.example", L"b.example"}},  // typed over a chosen entry
        {-1, L"d.example", std::nullopt, {L"a.example", L"b.example", L"c.example"}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> servers{L"a.example", L"b.example", L"c.example"};
        EXPECT_EQ(AdjustPage::DeleteServer(servers, c.Selected, c.Text), c.Next) << c.Selected;
        EXPECT_EQ(servers, c.Left) << c.Selected;
    }
}

TEST(OptionValues, HotKeyControlValue) {
    // Ctrl+Alt+F12; Shift+Home, which the control marks as an extended key.
    EXPECT_EQ(OperationPage::HotKeyControlValue(0xC07B), 0x067B);
    EXPECT_EQ(OperationPage::ShortcutOfHotKeyControl(0x067B), 0xC07B);
    EXPECT_EQ(OperationPage::HotKeyControlValue(0x2024), 0x0924);
    EXPECT_EQ(OperationPage::ShortcutOfHotKeyControl(0x0924), 0x2024);
}

TEST(OptionValues, EmptyToolTipFormatsTakeTheDefault) {
    Settings s = DefaultSettings({});
    auto values = OptionValues::Load(s, Facts());
    values.ToolTip.Format.clear();
    values.Tray.Format.clear();
    values.Tray.CalendarFont = L"Meiryo";
    const Settings after = Applied(values, s);
    EXPECT_EQ(after.View.ToolTipFormat, L"\"Lumora\"\\nyyyy'年'm'月'd'日'");
    EXPECT_EQ(after.View.TaskTrayToolTipFormat, after.View.ToolTipFormat);
    EXPECT_EQ(values.ToolTip.Format, after.View.ToolTipFormat);
    EXPECT_EQ(after.View.CalendarFontName, L"Meiryo");

    // A font the system does not have shows the list's own font.
    s.Telop.FontName = L"Gone";
    s.View.CalendarFontName = L"arial";
    EXPECT_EQ(OptionValues::Load(s, Facts()).Telop.FontName, L"MS UI Gothic");
    EXPECT_EQ(OptionValues::Load(s, Facts()).Tray.CalendarFont, L"Arial");
}

TEST(OptionValues, PageRulesOfSignalTelopAndTray) {
    CuckooPage cuckoo;
    cuckoo.Mode = 1;
    cuckoo.RepeatFile = L"r.wav";
    auto r = cuckoo.Evaluate();
    EXPECT_TRUE(r.SignalShown && r.CuckooShown && !r.WildBirdShown && !r.MessageEnabled);
    EXPECT_FALSE(r.RepeatFileEnabled || r.RepeatPreviewEnabled || r.FirstPreviewEnabled);
    cuckoo.Repeat = true;
    cuckoo.Mode = 2;
    cuckoo.SelectedHour = 23;
    cuckoo.WildBird[23] = L"owl.wav";
    r = cuckoo.Evaluate();
    EXPECT_TRUE(r.RepeatPreviewEnabled && r.WildBirdShown && r.WildBirdPreviewEnabled && !r.CuckooShown);

    TelopPage telop;
    telop.Sound = true;
    EXPECT_TRUE(telop.Evaluate().SoundEnabled && !telop.Evaluate().PreviewEnabled);

    TrayPage tray;
    tray.ShowCalendar = true;
    EXPECT_FALSE(tray.Evaluate({}).CalendarGroupEnabled || tray.Evaluate({}).CalendarFontEnabled);
    tray.ShowIcon = true;
    EXPECT_TRUE(tray.Evaluate({}).CalendarFontEnabled);
}

// A taskbar without the classic clock window greys the hiding box, and the value the user chose
// goes back to the settings unchanged.
TEST(OptionValues, HidingTheTaskbarClockNeedsItsWindow) {
    Settings settings;
    settings.View.HideTaskTrayClock = true;
    TrayPage tray = TrayPage::Load(settings, {});
    EXPECT_TRUE(tray.Evaluate({.TaskbarClockFound = true}).HideClockEnabled);
    EXPECT_FALSE(tray.Evaluate({.TaskbarClockFound = false}).HideClockEnabled);
    tray.ShowIcon = false;
    EXPECT_FALSE(tray.Evaluate({.TaskbarClockFound = false}).HideClockEnabled);
    EXPECT_TRUE(tray.Evaluate({.TaskbarClockFound = true}).HideClockEnabled);
    Settings applied;
    tray.Apply(applied, {});
    EXPECT_TRUE(applied.View.HideTaskTrayClock);
}

TEST(OptionValues, RemovingExcludedWindowsSelectsTheRowAbove) {
    struct Case {
        int count;
        std::vector<int> removed;
        int selected;
        std::vector<std::wstring> left;
    };
    const Case cases[] = {
        {1, {0}, -1, {}},
        {5, {4}, 3, {L"0", L"1", L"2", L"3"}},
        {5, {2}, 1, {L"0", L"1", L"3", L"4"}},
        {5, {0}, -1, {L"1", L"2", L"3", L"4"}},
        {5, {3, 1}, 0, {L"0", L"2", L"4"}},
        {3, {1, 2}, 0, {L"0"}},
        {2, {}, -1, {L"0", L"1"}},
    };
    for (const Case& c : cases) {
        WindowsPage page;
        for (int i = 0; i < c.count; ++i) {
            page.Windows.push_back({std::to_wstring(i), L"Class"});
        }
        EXPECT_EQ(page.RemoveRows(c.removed), c.selected) << c.count << " rows, " << c.removed.size() << " removed";
        std::vector<std::wstring> left;
        for (const auto& w : page.Windows) {
            left.push_back(w.Title);
        }
        EXPECT_EQ(left, c.left);
    }
}

// A shortcut that cannot be read is asked about like another program's, never kept silently.
TEST(OptionValues, StartupShortcutSteps) {
    using F = StartupShortcutFound;
    using S = StartupShortcutStep;
    EXPECT_EQ(NextStartupShortcutStep(true, F::None), S::Create);
    EXPECT_EQ(NextStartupShortcutStep(true, F::Ours), S::Nothing);
    EXPECT_EQ(NextStartupShortcutStep(true, F::OtherProgram), S::AskOverwrite);
    EXPECT_EQ(NextStartupShortcutStep(true, F::Unreadable), S::AskOverwrite);
    EXPECT_EQ(NextStartupShortcutStep(false, F::None), S::Nothing);
    EXPECT_EQ(NextStartupShortcutStep(false, F::Ours), S::Delete);
    EXPECT_EQ(NextStartupShortcutStep(false, F::OtherProgram), S::KeepOtherProgram);
    EXPECT_EQ(NextStartupShortcutStep(false, F::Unreadable), S::KeepOtherProgram);
}

} // namespace
} // namespace lumora
