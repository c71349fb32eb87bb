#pragma once
// From the current time to the clock's text: the displayed time, the flashing colon, the hour
// correction for 12- and 24-hour display, alignment within the clock's cells.

#include "clock/DateTime.h"
#include "settings/Settings.h"

#include <string>
#include <string_view>

namespace lumora {

constexpr int AlignLeft = 0;
constexpr int AlignRight = 1;
constexpr int AlignTrim = 2;

// Local time moved to the chosen world-clock zone or by the fixed difference.
// timeZoneBiasMinutes: UTC = local + bias.
double DisplayedTime(double now, const WorldClockSettings& worldClock, int timeZoneBiasMinutes);

// While a digit animation is on, the digits start moving early enough to land on the true second.
double WithAnimationLead(double displayed, const AnimationSettings& animation);

bool ColonIsDark(int flashColonType, bool reverse, int millisecond, int second);

// Hour 2 cells, minute and second 3 each (the separator in front counts with them).
int CellCount(const FormatSettings& format);

// The clock's pattern letters: h/hh, n/nn, s/ss (any case; the longest run of a letter is one
// field, two or more letters give two digits); ":" the time separator, "/" the date separator;
// everything else copied.
std::wstring ApplyTimePattern(std::wstring_view pattern, const DateTimeParts& t, wchar_t timeSeparator,
                              wchar_t dateSeparator);

struct TimeTextInput {
    const FormatSettings& Format;
    const AnimationSettings& Animation;
    int Alignment = AlignRight; // Design.Alignment
    std::wstring_view TimeFormat;
    DateTimeParts Taken; // the displayed time before the animation lead: colon and hour rules
    DateTimeParts Shown; // after the lead: the digits
    wchar_t TimeSeparator = L':';
    wchar_t DateSeparator = L'/';
    std::wstring_view PreviousText;
    bool HideAnimating = false;
};

struct TimeText {
    std::wstring Text;
    int WidthInCells = 0;

    bool operator==(const TimeText&) const = default;
};

TimeText BuildTimeText(const TimeTextInput& input);

// The cell of the glyph strip for a character of the text: "0"-"9", ":" and ";" are 0-11; any
// other character has no glyph (-1) and shows only the background.
constexpr int GlyphIndex(wchar_t c) {
    const int index = static_cast<int>(c) - static_cast<int>(L'0');
    return index >= 0 && index <= 11 ? index : -1;
}

} // namespace lumora
