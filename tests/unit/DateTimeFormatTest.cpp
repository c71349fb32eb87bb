#include "clock/DateTimeFormat.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumora {
namespace {

const LocaleFacts Japanese = JapaneseLocaleFacts();
const double Monday = ComposeDateTime(2006, 4, 3, 9, 5, 7, 42);

TEST(DateTimeFormat, Letters) {
    const double afternoon = ComposeDateTime(2006, 4, 3, 14, 5, 7, 5);
    const double midnight = ComposeDateTime(2006, 4, 3, 0, 0, 0, 0);
    struct Row {
        const wchar_t* pattern;
        double at;
        const wchar_t* expected;
    };
    const Row rows[] = {
        // The worked examples.
        {L"h:nn", Monday, L"9:05"},
        {L"hh:nn;ss", Monday, L"09:05;07"},
        {L"yyyy/mm/dd", Monday, L"2006/04/03"},
        {L"yy/m/d' ('ddd')'", Monday, L"06/4/3 (月)"},
        {L"yyyy'年'm'月'd'日' dddd", Monday, L"2006年4月3日 月曜日"},
        {L"dddddd hh:nn:ss.zzz", Monday, L"2006年4月3日 09:05:07.042"},
        {L"gge", Monday, L"平成18"},
        {L"\"h\"", Monday, L"h"},
        // m is the minute right after an hour, also across quoted text, and the month otherwise.
        {L"hh:mm", Monday, L"09:05"},
        {L"h'時'm'分'", Monday, L"9時5分"},
        {L"h:nn m", Monday, L"9:05 4"},
        {L"MMM MMMM", Monday, L"4月 4月"},
        {L"Y YYY", Monday, L"06 2006"},
        {L"DDDDD", Monday, L"2006/04/03"},
        {L"z zz zzz zzzz", afternoon, L"5 05 005 005"},
        {L"t|tt", afternoon, L"14:05|14:05:07"},
        {L"ggee g", ComposeDateTime(1990, 1, 1, 0, 0, 0, 0), L"平成02 平"},
        // c leaves the time out only at exactly midnight.
        {L"c", Monday, L"2006/04/03 9:05:07"},
        {L"c", midnight, L"2006/04/03"},
        {L"c", midnight + MillisecondsToDays(1), L"2006/04/03 0:00:00"},
        // The marker is copied in the case written and puts every hour of its pattern on 12 hours,
        // before or after it; a quoted one is text.
        {L"h:nn am/pm", afternoon, L"2:05 pm"},
        {L"h:nn AM/PM", Monday, L"9:05 AM"},
        {L"h Am/pM|h Am/pM", afternoon, L"2 pM|2 pM"},
        {L"hh a/p", Monday, L"09 a"},
        {L"h A/P", afternoon, L"2 P"},
        {L"ampm h:nn:ss", afternoon, L"午後 2:05:07"},
        {L"AMPM hh", midnight, L"午前 12"},
        {L"h ampm", afternoon, L"2 午後"},
        {L"h am/pm", midnight, L"12 am"},
        {L"h am/pm", ComposeDateTime(2006, 4, 3, 12, 0, 0, 0), L"12 pm"},
        {L"h 'am/pm' h", afternoon, L"14 am/pm 14"},
        {L"h 'am/pm' h a/p", afternoon, L"2 am/pm 2 p"},
        {L"h a", afternoon, L"14 a"},
        // Quotes, unclosed quotes, and everything else copied.
        {L"'yyyy\"' \"'m'\"", Monday, L"yyyy\" 'm'"},
        {L"'open yyyy", Monday, L"open yyyy"},
        {L"[yyyy] x 年 \\ b", Monday, L"[2006] x 年 \\ b"},
        {L"", Monday, L""},
        // Far-off and meaningless date-times are clamped, never undefined.
        {L"yyyy/mm/dd", std::numeric_limits<double>::quiet_NaN(), L"1899/12/30"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FormatDateTime(r.pattern, r.at, Japanese), r.expected) << r.pattern;
    }
}

TEST(DateTimeFormat, EraBoundaries) {
    struct Row {
        int year, month, day;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {1989, 1, 7, L"昭和64 昭64"},  {1989, 1, 8, L"平成1 平01"},    {2019, 4, 30, L"平成31 平31"},
        {2019, 5, 1, L"令和1 令01"},   {1926, 12, 24, L"大正15 大15"}, {1926, 12, 25, L"昭和1 昭01"},
        {1912, 7, 29, L"明治45 明45"}, {1912, 7, 30, L"大正1 大01"},   {1868, 1, 1, L"明治1 明01"},
        {1867, 12, 31, L"明治0 明00"}, // the first era goes on backwards
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FormatDateTime(L"gge gee", ComposeDateTime(r.year, r.month, r.day, 12, 0, 0, 0), Japanese),
                  r.expected)
            << r.year << '-' << r.month << '-' << r.day;
    }
    LocaleFacts noEras = Japanese;
    noEras.Eras.clear();
    EXPECT_EQ(FormatDateTime(L"[g]e", Monday, noEras), L"[]2006");
}

TEST(DateTimeFormat, OtherLocaleFacts) {
    LocaleFacts l = Japanese;
    l.DateSeparator = L'-';
    l.TimeSeparator = L'\0';
    l.LongDayNames[1] = L"Monday";
    l.ShortMonthNames[3] = L"Apr";
    EXPECT_EQ(FormatDateTime(L"yyyy/mm/dd hh:nn dddd mmm", Monday, l), L"2006-04-03 0905 Monday Apr");
}

TEST(DateTimeFormat, PatternsThatNameThemselvesEnd) {
    LocaleFacts l = Japanese;
    l.ShortDatePattern = L"ddddd c ddddd";
    l.LongDatePattern = L"dddddd hh:nn dddddd";
    l.ShortTimePattern = L"t";
    l.LongTimePattern = L"tt c dddddd";
    EXPECT_EQ(FormatDateTime(L"dddddd", Monday, l), L" 09:05 ");
    for (const wchar_t* pattern : {L"ddddd", L"c", L"t", L"tt dddddd c ddddd"}) {
        EXPECT_LT(FormatDateTime(pattern, Monday, l).size(), 1000u) << pattern;
    }
}

} // namespace
} // namespace lumora
