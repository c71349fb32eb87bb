#include "clock/TimeText.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct Clock {
    FormatSettings format;
    AnimationSettings animation;
    int alignment = AlignRight;
    wchar_t timeSeparator = L':';
};

// One pass from the local time on 2006-04-03 to the text, the way the tick does it.
TimeText TextAt(const Clock& c, std::wstring_view pattern, int h, int mi, int s, int ms = 0,
                std::wstring_view previous = {}, bool hiding = false) {
    const double now = ComposeDateTime(2006, 4, 3, h, mi, s, ms);
    return BuildTimeText({.Format = c.format,
                          .Animation = c.animation,
                          .Alignment = c.alignment,
                          .TimeFormat = pattern,
                          .Taken = SplitDateTime(now),
                          .Shown = SplitDateTime(WithAnimationLead(now, c.animation)),
                          .TimeSeparator = c.timeSeparator,
                          .DateSeparator = L'/',
                          .PreviousText = previous,
                          .HideAnimating = hiding});
}

Clock With(void (*change)(Clock&)) {
    Clock c;
    change(c);
    return c;
}

TEST(TimeText, WorkedExamples) {
    struct Row {
        const char* what;
        Clock clock;
        int h, mi, s, ms;
        const wchar_t* pattern;
        const wchar_t* text;
        int cells;
    };
    const Row rows[] = {
        {"defaults", Clock{}, 14, 5, 30, 0, L"h:nn", L" 2:05", 5},
        {"defaults at noon", Clock{}, 12, 30, 0, 0, L"h:nn", L" 0:30", 5},
        {"Hour0 off at noon", With([](Clock& c) { c.format.Hour0 = false; }), 12, 30, 0, 0, L"h:nn", L"12:30", 5},
        {"Hour0 off at midnight", With([](Clock& c) { c.format.Hour0 = false; }), 0, 15, 0, 0, L"h:nn", L"12:15", 5},
        {"HourDouble", With([](Clock& c) { c.format.HourDouble = true; }), 21, 7, 0, 0, L"hh:nn", L"09:07", 5},
        {"HourDouble at noon", With([](Clock& c) { c.format.HourDouble = true; }), 12, 0, 0, 0, L"hh:nn", L"00:00", 5},
        {"24-hour with seconds", With([](Clock& c) {
             c.format.Hour12 = false;
             c.format.HourDouble = c.format.Second = c.format.SecondDouble = true;
         }),
         0, 7, 9, 0, L"hh:nn;ss", L"00:07;09", 8},
        {"24-hour, Hour24 off", With([](Clock& c) {
             c.format.Hour12 = c.format.Hour24 = false;
             c.format.HourDouble = c.format.Second = c.format.SecondDouble = true;
         }),
         0, 7, 9, 0, L"hh:nn;ss", L"24:07;09", 8},
        {"dark colon", With([](Clock& c) { c.animation.FlashColonType = 1; }), 14, 5, 30, 700, L"h:nn", L" 2/05", 5},
        {"minutes only", With([](Clock& c) { c.format.Hour = c.format.MinuteDouble = false; }), 10, 4, 0, 0, L"n",
         L"  4", 3},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(TextAt(r.clock, r.pattern, r.h, r.mi, r.s, r.ms), (TimeText{r.text, r.cells})) << r.what;
    }
}

TEST(TimeText, HourRules) {
    struct Row {
        bool hour12, hour0, hour24, hourDouble;
        int hour;
        const wchar_t* text;
    };
    const Row rows[] = {
        {true, true, true, false, 0, L"0:00"},     {true, true, true, false, 11, L"11:00"},
        {true, true, true, false, 13, L"1:00"},    {true, true, true, false, 21, L"9:00"},
        {true, true, true, false, 22, L"10:00"},   {true, true, true, false, 23, L"11:00"},
        {true, true, true, true, 0, L"00:00"},     {true, true, true, true, 9, L"09:00"},
        {true, true, true, true, 13, L"01:00"},    {true, true, true, true, 22, L"10:00"},
        {true, false, true, true, 0, L"12:00"},    {true, false, true, true, 12, L"12:00"},
        {true, false, true, true, 13, L"01:00"},   {true, false, true, false, 12, L"12:00"},
        {false, true, true, false, 0, L"0:00"},    {false, true, false, false, 0, L"24:00"},
        {false, true, false, false, 23, L"23:00"}, {false, true, true, true, 13, L"13:00"},
    };
    for (const auto& r : rows) {
        Clock c;
        c.alignment = AlignLeft;
        c.format.Hour12 = r.hour12;
        c.format.Hour0 = r.hour0;
        c.format.Hour24 = r.hour24;
        c.format.HourDouble = r.hourDouble;
        EXPECT_EQ(TextAt(c, r.hourDouble ? L"hh:nn" : L"h:nn", r.hour, 0, 0).Text, r.text) << r.hour;
    }
}

TEST(TimeText, TwoDigitHoursStayTwoDigitsWhileTheLeadCrossesAnHour) {
    // With the lead the text changes a quarter second early; the hour taken before the lead is
    // then still the old one, which must not make "12" into "012" or leave "1" unpadded.
    Clock c;
    c.format.HourDouble = true;
    c.format.Hour0 = false;
    c.animation.Type = 1;
    EXPECT_EQ(TextAt(c, L"hh:nn", 12, 59, 59, 800).Text, L"01:00");
    EXPECT_EQ(TextAt(c, L"hh:nn", 13, 0, 0, 0).Text, L"01:00");
    EXPECT_EQ(TextAt(c, L"hh:nn", 11, 59, 59, 800).Text, L"12:00");
    EXPECT_EQ(TextAt(c, L"hh:nn", 12, 0, 0, 0).Text, L"12:00");
}

TEST(TimeText, HoursFollowedBySecondsCorrectOnlyTheHourDigits) {
    Clock c;
    c.format.Minute = false;
    c.format.Second = true;
    c.format.SecondDouble = false;
    EXPECT_EQ(TextAt(c, L"hs", 9, 0, 30).Text, L"  930");
    EXPECT_EQ(TextAt(c, L"hs", 14, 0, 7).Text, L"   27");
    c.format.Hour0 = false;
    EXPECT_EQ(TextAt(c, L"hs", 0, 0, 45).Text, L" 1245");
}

TEST(TimeText, AlignmentWidthAndHiding) {
    struct Row {
        int alignment;
        const wchar_t* previous;
        bool hiding;
        TimeText expected;
    };
    const Row rows[] = {
        {AlignLeft, L"", false, {L"9:05", 5}},  {AlignRight, L"", false, {L" 9:05", 5}},
        {AlignTrim, L"", false, {L"9:05", 4}},  {AlignTrim, L"12:59", false, {L"9:05", 5}},
        {AlignRight, L"", true, {L"<<<<<", 5}}, {AlignTrim, L"", true, {L"<<<<", 4}},
    };
    for (const auto& r : rows) {
        Clock c;
        c.alignment = r.alignment;
        EXPECT_EQ(TextAt(c, L"h:nn", 9, 5, 0, 0, r.previous, r.hiding), r.expected) << r.alignment;
    }
}

TEST(TimeText, DarkColonBlanksBothSeparators) {
    Clock c;
    c.format.Hour12 = false;
    c.format.Second = true;
    c.animation.FlashColonType = 3;
    EXPECT_EQ(TextAt(c, L"h:nn;ss", 14, 5, 9).Text, L"14/05/09");
    EXPECT_EQ(TextAt(c, L"h:nn;ss", 14, 5, 10).Text, L"14:05;10");
}

TEST(TimeText, OtherTimeSeparatorHasNoGlyph) {
    Clock c;
    c.timeSeparator = L'.';
    const TimeText t = TextAt(c, L"h:nn", 14, 5, 0);
    EXPECT_EQ(t.Text, L" 2.05");
    EXPECT_EQ(GlyphIndex(t.Text[2]), -1);
}

TEST(TimeText, GlyphIndex) {
    const std::pair<wchar_t, int> rows[] = {{L'0', 0},  {L'9', 9},  {L':', 10}, {L';', 11},     {L'<', -1},
                                            {L'/', -1}, {L' ', -1}, {L'.', -1}, {L'\uFF10', -1}};
    for (const auto& [c, index] : rows) {
        EXPECT_EQ(GlyphIndex(c), index) << static_cast<int>(c);
    }
}

TEST(TimeText, FlashingColon) {
    struct Row {
        int type, ms, s;
        bool darkNormal;
    };
    const Row rows[] = {
        {0, 0, 0, false},  {0, 999, 1, false}, {1, 0, 0, false},   {1, 500, 0, false},
        {1, 501, 0, true}, {1, 999, 0, true},  {2, 250, 0, false}, {2, 251, 0, true},
        {3, 0, 0, false},  {3, 999, 0, false}, {3, 0, 1, true},    {3, 0, 59, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ColonIsDark(r.type, false, r.ms, r.s), r.darkNormal) << r.type << " " << r.ms << " " << r.s;
        const bool darkReversed = r.type == 0 ? false : !r.darkNormal;
        EXPECT_EQ(ColonIsDark(r.type, true, r.ms, r.s), darkReversed) << r.type << " " << r.ms << " " << r.s;
    }
}

TEST(TimeText, FlashingUsesTheTimeBeforeTheLead) {
    // 14:05:30.600 plus the 250 ms lead is .850; the colon still follows .600.
    Clock c;
    c.animation.Type = 1;
    c.animation.FlashColonType = 1;
    c.animation.ReverseFlash = true;
    EXPECT_EQ(TextAt(c, L"h:nn", 14, 5, 30, 600).Text, L" 2:05");
}

TEST(TimeText, DisplayedTime) {
    const double now = ComposeDateTime(2006, 4, 3, 18, 0, 0, 0);
    const int tokyoBias = -540;
    struct Row {
        const char* what;
        WorldClockSettings w;
        double expected;
    };
    const Row rows[] = {
        {"local", {}, now},
        {"UTC", {.WorldClockMode = true, .WorldClockTime = 0.0}, ComposeDateTime(2006, 4, 3, 9, 0, 0, 0)},
        {"UTC-5", {.WorldClockMode = true, .WorldClockTime = -5.0 / 24}, ComposeDateTime(2006, 4, 3, 4, 0, 0, 0)},
        {"zone unset", {.WorldClockMode = true, .TimeDiffTime = 0.5, .WorldClockTime = NeverDate}, now},
        {"fixed difference", {.TimeDiffTime = 0.125}, ComposeDateTime(2006, 4, 3, 21, 0, 0, 0)},
        {"fixed difference ignored in world mode",
         {.WorldClockMode = true, .TimeDiffTime = 0.125},
         ComposeDateTime(2006, 4, 3, 9, 0, 0, 0)},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SplitDateTime(DisplayedTime(now, r.w, tokyoBias)), SplitDateTime(r.expected)) << r.what;
    }
}

TEST(TimeText, NegativeDifferenceCrossesMidnight) {
    const double now = ComposeDateTime(2006, 4, 3, 0, 30, 0, 0);
    const DateTimeParts d = SplitDateTime(DisplayedTime(now, {.TimeDiffTime = -1.0 / 24}, 0));
    EXPECT_EQ(d, (DateTimeParts{2006, 4, 2, 23, 30, 0, 0, 6}));
}

TEST(TimeText, AnimationLead) {
    const double d = ComposeDateTime(2006, 4, 3, 14, 5, 29, 700);
    struct Row {
        int type, timing;
        DateTimeParts expected;
    };
    const Row rows[] = {
        {0, 500, SplitDateTime(d)},
        {1, 0, {2006, 4, 3, 14, 5, 29, 950, 0}},
        {3, 100, {2006, 4, 3, 14, 5, 30, 50, 0}},
        {1, -1000, {2006, 4, 3, 14, 5, 28, 950, 0}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SplitDateTime(WithAnimationLead(d, {.Type = r.type, .Timing = r.timing})), r.expected)
            << r.type << " " << r.timing;
    }
}

TEST(TimeText, TextChangesAQuarterSecondEarlyWithAnimation) {
    Clock c;
    c.animation.Type = 1;
    EXPECT_EQ(TextAt(c, L"h:nn", 14, 5, 59, 740).Text, L" 2:05");
    EXPECT_EQ(TextAt(c, L"h:nn", 14, 5, 59, 760).Text, L" 2:06");
}

TEST(TimeText, PatternLetters) {
    const DateTimeParts t{2006, 4, 3, 9, 5, 7, 42, 0};
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"h:nn", L"9:05"}, {L"hh:nn;ss", L"09:05;07"}, {L"HH:Nn:sS", L"09:05:07"}, {L"hhh", L"09"},
        {L"s", L"7"},       {L"h/n", L"9-5"},           {L"h m z", L"9 m z"},       {L"", L""},
    };
    for (const auto& [pattern, text] : rows) {
        EXPECT_EQ(ApplyTimePattern(pattern, t, L':', L'-'), text) << static_cast<const void*>(pattern);
    }
}

} // namespace
} // namespace lumora
