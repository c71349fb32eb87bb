// The era table comes from registry values and the patterns from the locale: any of them, under
// either calendar, must give a bounded pattern and a bounded text. Beyond that, what Windows
// shows as text must come out as that text, and the eras may be listed in any order.

#include "FuzzCheck.h"
#include "clock/LocalePatterns.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace lumora;

namespace {

// 2025-06-15 14:24, just before Heisei began (1989-01-07 23:58), and 1831, before Meiji.
constexpr double Moments[] = {45823.6, 32515.999, -25000.25};

// Letters Windows formats; every other character of a Windows pattern, outside quotes too, is text.
constexpr std::wstring_view WindowsLetters = L"dMyghHmst";

// Windows' pattern with its letters and quotes taken out: text only. Double quotes go too:
// TranslateWindowsPattern passes them on, and in the program's letters they quote, so Windows'
// "x" shows as x here.
std::wstring LiteralOnly(std::wstring_view pattern) {
    std::wstring text;
    for (wchar_t c : pattern) {
        if (WindowsLetters.find(c) == std::wstring_view::npos && c != L'\'' && c != L'"') {
            text += c;
        }
    }
    return text;
}

} // namespace

// Two bytes per character, as Windows has it. Lines alternate value name and data; the last line
// is the Windows pattern.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const auto c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (c == L'\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    // A registry key holds each value name once.
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::set<std::wstring> names;
    for (size_t i = 0; i + 2 < lines.size(); i += 2) {
        if (names.insert(lines[i]).second) {
            values.emplace_back(lines[i], lines[i + 1]);
        }
    }
    LocaleFacts facts = JapaneseLocaleFacts();
    std::vector<Era> eras = WindowsEraTable(values);
    Check(eras.empty() || (eras.size() >= 4 && eras.size() <= values.size()));
    size_t longestName = 8;
    for (const Era& era : eras) {
        Check(!era.Name.empty() && !era.ShortName.empty());
        longestName = std::max({longestName, era.Name.size(), era.ShortName.size()});
    }
    if (!eras.empty()) {
        facts.Eras = std::move(eras);
    }
    // The same table in the opposite order.
    LocaleFacts reversed = facts;
    std::reverse(reversed.Eras.begin(), reversed.Eras.end());

    const std::wstring& windowsPattern = lines.back();
    const std::wstring literal = LiteralOnly(windowsPattern);
    const std::wstring quotable = [&] {
        std::wstring text = windowsPattern;
        std::erase(text, L'\'');
        return text;
    }();
    for (const CalendarType calendar : {CalendarType::Gregorian, CalendarType::JapaneseEra}) {
        const std::wstring pattern = TranslateWindowsPattern(windowsPattern, calendar);
        Check(pattern.size() <= 4 * windowsPattern.size() + 1);
        const std::wstring literalPattern = TranslateWindowsPattern(literal, calendar);
        // Text in quotes goes through as it is, and does not change what the pattern after it shows.
        const std::wstring quoted = TranslateWindowsPattern(L'\'' + quotable + L'\'' + windowsPattern, calendar);
        for (const double at : Moments) {
            const std::wstring text = FormatDateTime(pattern, at, facts);
            Check(text.size() <= (longestName + 8) * (pattern.size() + 1));
            Check(FormatDateTime(pattern, at, reversed) == text);
            // Letters Windows does not format come out as written, our own (c, e, n, z ...) too;
            // the Japanese separators are "/" and ":".
            Check(FormatDateTime(literalPattern, at, facts) == literal);
            Check(FormatDateTime(quoted, at, facts) == quotable + text);
        }
    }
    return 0;
}
