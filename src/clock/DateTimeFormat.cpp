#include "clock/DateTimeFormat.h"

#include "clock/DateTime.h"
#include "settings/AsciiText.h"

#include <tuple>
#include <utility>

namespace lumora {
namespace {

// One nested expansion ("c", "ddddd", "t" ...) is all a real pattern needs: the system's own
// patterns never name another pattern. Deeper ones write nothing, so a locale pattern that names
// itself ends, and the text stays within the pattern's length times the longest locale text.
constexpr int MaxNesting = 1;

constexpr std::wstring_view::size_type None = std::wstring_view::npos;

bool StartsWithNoCase(std::wstring_view text, size_t at, std::wstring_view lowerWord) {
    if (text.size() - at < lowerWord.size()) {
        return false;
    }
    for (size_t k = 0; k < lowerWord.size(); ++k) {
        if (AsciiLower(text[at + k]) != lowerWord[k]) {
            return false;
        }
    }
    return true;
}

// Length of the am/pm marker starting at `at`, 0 when there is none.
size_t MarkerLength(std::wstring_view p, size_t at) {
    if (StartsWithNoCase(p, at, L"am/pm")) {
        return 5;
    }
    if (StartsWithNoCase(p, at, L"ampm")) {
        return 4;
    }
    if (StartsWithNoCase(p, at, L"a/p")) {
        return 3;
    }
    return 0;
}

// A marker anywhere in a pattern puts its hours on the 12-hour clock: Windows offers "tt h:mm:ss",
// with the marker first. Quoted text does not count.
bool HasMarker(std::wstring_view p) {
    for (size_t i = 0; i < p.size();) {
        const wchar_t c = p[i];
        if (c == L'\'' || c == L'"') {
            const size_t close = p.find(c, i + 1);
            if (close == None) {
                return false;
            }
            i = close + 1;
            continue;
        }
        if (AsciiLower(c) == L'a' && MarkerLength(p, i) > 0) {
            return true;
        }
        ++i;
    }
    return false;
}

void AppendNumber(std::wstring& out, long long value, size_t minDigits) {
    if (value < 0) {
        out += L'-';
        value = -value; // years stay far inside the range, see SplitDateTime's clamp
    }
    const std::wstring digits = std::to_wstring(value);
    if (digits.size() < minDigits) {
        out.append(minDigits - digits.size(), L'0');
    }
    out += digits;
}

const Era* FindEra(const std::vector<Era>& eras, const DateTimeParts& t) {
    const auto date = std::tie(t.Year, t.Month, t.Day);
    const Era* found = nullptr;
    const Era* earliest = nullptr;
    for (const Era& era : eras) {
        const auto start = std::tie(era.StartYear, era.StartMonth, era.StartDay);
        if (start <= date &&
            (found == nullptr || start > std::tie(found->StartYear, found->StartMonth, found->StartDay))) {
            found = &era;
        }
        if (earliest == nullptr || start < std::tie(earliest->StartYear, earliest->StartMonth, earliest->StartDay)) {
            earliest = &era;
        }
    }
    return found != nullptr ? found : earliest;
}

class Formatter {
public:
    Formatter(const DateTimeParts& t, const LocaleFacts& locale) : t_(t), locale_(locale) {}

    void Append(std::wstring_view p, int depth);

    std::wstring Out;

private:
    const DateTimeParts& t_;
    const LocaleFacts& locale_;
};

void Formatter::Append(std::wstring_view p, int depth) {
    if (depth > MaxNesting) {
        return;
    }
    const bool pm = t_.Hour >= 12;
    const bool twelveHours = HasMarker(p);
    const int weekday = (t_.DayOfWeek + 1) % 7; // the names start on Sunday, DayOfWeek on Monday
    wchar_t lastLetter = L' ';
    for (size_t i = 0; i < p.size();) {
        const wchar_t c = p[i];
        if (c == L'\'' || c == L'"') {
            const size_t close = p.find(c, i + 1);
            const size_t end = close == None ? p.size() : close;
            Out.append(p.substr(i + 1, end - i - 1));
            i = close == None ? p.size() : close + 1;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            if (c == L'/' || c == L':') {
                const wchar_t separator = c == L'/' ? locale_.DateSeparator : locale_.TimeSeparator;
                if (separator != L'\0') {
                    Out += separator;
                }
            } else {
                Out += c;
            }
            ++i;
            continue;
        }
        if (AsciiLower(c) == L'a') {
            // Markers are copied in the case written: "AM/PM", "am/pm", "A/P" ...
            const size_t marker = MarkerLength(p, i);
            if (marker == 5) {
                Out.append(p.substr(i + (pm ? 3 : 0), 2));
            } else if (marker == 3) {
                Out += p[i + (pm ? 2 : 0)];
            } else if (marker == 4) {
                Out += pm ? locale_.TimePmString : locale_.TimeAmString;
            } else {
                Out += c;
            }
            lastLetter = L'a';
            i += marker > 0 ? marker : 1;
            continue;
        }

        const size_t run = RunLengthIgnoringCase(p, i);
        wchar_t token = AsciiLower(c);
        if (token == L'm' && lastLetter == L'h') {
            token = L'n'; // "hh:mm" means minutes
        }
        lastLetter = token;
        switch (token) {
        case L'c':
            Append(locale_.ShortDatePattern, depth + 1);
            if (t_.Hour != 0 || t_.Minute != 0 || t_.Second != 0 || t_.Millisecond != 0) {
                Out += L' ';
                Append(locale_.LongTimePattern, depth + 1);
            }
            break;
        case L'd':
            if (run <= 2) {
                AppendNumber(Out, t_.Day, run);
            } else if (run == 3) {
                Out += locale_.ShortDayNames[weekday];
            } else if (run == 4) {
                Out += locale_.LongDayNames[weekday];
            } else {
                Append(run == 5 ? locale_.ShortDatePattern : locale_.LongDatePattern, depth + 1);
            }
            break;
        case L'e': {
            const Era* era = FindEra(locale_.Eras, t_);
            const long long year = era != nullptr ? static_cast<long long>(t_.Year) - era->StartYear + 1 : t_.Year;
            AppendNumber(Out, year, run >= 2 ? 2 : 1);
            break;
        }
        case L'g':
            if (const Era* era = FindEra(locale_.Eras, t_)) {
                Out += run == 1 ? era->ShortName : era->Name;
            }
            break;
        case L'm':
            if (run <= 2) {
                AppendNumber(Out, t_.Month, run);
            } else {
                Out += (run == 3 ? locale_.ShortMonthNames : locale_.LongMonthNames)[t_.Month - 1];
            }
            break;
        case L'y':
            if (run <= 2) {
                AppendNumber(Out, (t_.Year % 100 + 100) % 100, 2);
            } else {
                AppendNumber(Out, t_.Year, 4);
            }
            break;
        case L'h': {
            int hour = t_.Hour;
            if (twelveHours) {
                hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
            }
            AppendNumber(Out, hour, run >= 2 ? 2 : 1);
            break;
        }
        case L'n':
            AppendNumber(Out, t_.Minute, run >= 2 ? 2 : 1);
            break;
        case L's':
            AppendNumber(Out, t_.Second, run >= 2 ? 2 : 1);
            break;
        case L'z':
            AppendNumber(Out, t_.Millisecond, run >= 3 ? 3 : run);
            break;
        case L't':
            Append(run == 1 ? locale_.ShortTimePattern : locale_.LongTimePattern, depth + 1);
            break;
        default:
            Out.append(p.substr(i, run));
        }
        i += run;
    }
}

} // namespace

LocaleFacts JapaneseLocaleFacts() {
    LocaleFacts f;
    f.DateSeparator = L'/';
    f.TimeSeparator = L':';
    f.ShortDatePattern = L"yyyy/mm/dd";
    f.LongDatePattern = L"yyyy'年'm'月'd'日'";
    f.ShortTimePattern = L"h:nn";
    f.LongTimePattern = L"h:nn:ss";
    f.ShortDayNames = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
    f.LongDayNames = {L"日曜日", L"月曜日", L"火曜日", L"水曜日", L"木曜日", L"金曜日", L"土曜日"};
    for (int month = 1; month <= 12; ++month) {
        f.ShortMonthNames[month - 1] = std::to_wstring(month) + L"月";
        f.LongMonthNames[month - 1] = f.ShortMonthNames[month - 1];
    }
    f.TimeAmString = L"午前";
    f.TimePmString = L"午後";
    // Windows' own table: Meiji counts from 1868-01-01, short names are one kanji.
    f.Eras = {{L"明治", L"明", 1868, 1, 1},
              {L"大正", L"大", 1912, 7, 30},
              {L"昭和", L"昭", 1926, 12, 25},
              {L"平成", L"平", 1989, 1, 8},
              {L"令和", L"令", 2019, 5, 1}};
    return f;
}

std::wstring FormatDateTime(std::wstring_view pattern, double dateTime, const LocaleFacts& locale) {
    const DateTimeParts t = SplitDateTime(dateTime);
    Formatter formatter(t, locale);
    formatter.Append(pattern, 0);
    return std::move(formatter.Out);
}

} // namespace lumora
