#include "clock/TimeText.h"

#include "settings/AsciiText.h"

#include <algorithm>

namespace lumora {
namespace {

void AppendNumber(std::wstring& out, int value, size_t minDigits) {
    if (minDigits >= 2 && value >= 0 && value < 10) {
        out += L'0';
    }
    out += std::to_wstring(value);
}

// Length of the hour field at the start of the pattern, 0 when it does not start with one.
size_t LeadingHourRun(std::wstring_view pattern) {
    return !pattern.empty() && AsciiLower(pattern.front()) == L'h' ? RunLengthIgnoringCase(pattern, 0) : 0;
}

// The hour rules work on the hour's own digits. Reading them from the start of the whole text
// would, for hours followed directly by seconds ("hs"), take the seconds' first digit for part
// of the hour; so such a format shows the corrected hour with the seconds right after it.
std::wstring CorrectHour(std::wstring hour, const FormatSettings& f) {
    if (hour.empty() || !std::all_of(hour.begin(), hour.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return hour;
    }
    const int e = std::stoi(hour);
    if (f.Hour12) {
        if (e >= 13) {
            hour = std::to_wstring(e - 12);
        } else if (e == 12 && f.Hour0) {
            hour = L"0";
        }
        // Pads 1-9 and the 0 of noon; 12 o'clock shown as 12 already has two digits. Asking the
        // corrected hour rather than the hour before the animation lead keeps the text at two
        // digits in the last quarter second before the hour changes.
        if (e >= 12 && e < 22 && f.HourDouble && hour.size() == 1) {
            hour.insert(0, 1, L'0');
        }
        if (e == 0 && !f.Hour0) {
            hour = L"12";
        }
    } else if (e == 0 && !f.Hour24) {
        hour = L"24";
    }
    return hour;
}

} // namespace

double DisplayedTime(double now, const WorldClockSettings& w, int timeZoneBiasMinutes) {
    if (w.WorldClockMode) {
        return w.WorldClockTime != NeverDate ? now + w.WorldClockTime + timeZoneBiasMinutes / 1440.0 : now;
    }
    return w.TimeDiffTime != 0.0 ? now + w.TimeDiffTime : now;
}

double WithAnimationLead(double displayed, const AnimationSettings& a) {
    return a.Type != 0 ? displayed + MillisecondsToDays(250 + a.Timing) : displayed;
}

bool ColonIsDark(int flashColonType, bool reverse, int millisecond, int second) {
    switch (flashColonType) {
    case 1:
        return reverse ? millisecond <= 500 : millisecond > 500;
    case 2:
        return reverse ? millisecond <= 250 : millisecond > 250;
    case 3:
        return (second % 2 != 0) != reverse;
    default:
        return false;
    }
}

int CellCount(const FormatSettings& f) {
    return (f.Hour ? 2 : 0) + (f.Minute ? 3 : 0) + (f.Second ? 3 : 0);
}

std::wstring ApplyTimePattern(std::wstring_view pattern, const DateTimeParts& t, wchar_t timeSeparator,
                              wchar_t dateSeparator) {
    std::wstring out;
    out.reserve(pattern.size() + 2);
    for (size_t i = 0; i < pattern.size();) {
        const size_t run = RunLengthIgnoringCase(pattern, i);
        switch (AsciiLower(pattern[i])) {
        case L'h':
            AppendNumber(out, t.Hour, run);
            break;
        case L'n':
            AppendNumber(out, t.Minute, run);
            break;
        case L's':
            AppendNumber(out, t.Second, run);
            break;
        case L':':
            out.append(run, timeSeparator);
            break;
        case L'/':
            out.append(run, dateSeparator);
            break;
        default:
            out.append(pattern.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

TimeText BuildTimeText(const TimeTextInput& in) {
    std::wstring format(in.TimeFormat);
    if (ColonIsDark(in.Animation.FlashColonType, in.Animation.ReverseFlash, in.Taken.Millisecond, in.Taken.Second)) {
        // The date separator has no glyph, so the separator cells go blank.
        std::replace_if(
            format.begin(), format.end(), [](wchar_t c) { return c == L':' || c == L';'; }, L'/');
    }

    TimeText result;
    const std::wstring_view pattern = format;
    const size_t hourRun = in.Format.Hour ? LeadingHourRun(pattern) : 0;
    if (hourRun > 0) {
        result.Text = CorrectHour(
            ApplyTimePattern(pattern.substr(0, hourRun), in.Shown, in.TimeSeparator, in.DateSeparator), in.Format);
    }
    result.Text += ApplyTimePattern(pattern.substr(hourRun), in.Shown, in.TimeSeparator, in.DateSeparator);

    const int cells = CellCount(in.Format);
    if (in.Alignment == AlignRight && static_cast<int>(result.Text.size()) < cells) {
        result.Text.insert(0, static_cast<size_t>(cells) - result.Text.size(), L' ');
    }
    result.WidthInCells =
        in.Alignment == AlignTrim ? static_cast<int>(std::max(in.PreviousText.size(), result.Text.size())) : cells;
    if (in.HideAnimating) {
        // No glyph for "<": every cell animates away.
        result.Text.assign(static_cast<size_t>(result.WidthInCells), L'<');
    }
    return result;
}

} // namespace lumora
