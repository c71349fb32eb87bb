// The era table comes from registry values and the patterns from the locale: any of them, under
// either calendar, must give a bounded pattern and a bounded text.

#include "FuzzCheck.h"
#include "clock/LocalePatterns.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using namespace lumora;

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
    std::vector<std::pair<std::wstring, std::wstring>> values;
    for (size_t i = 0; i + 2 < lines.size(); i += 2) {
        values.emplace_back(lines[i], lines[i + 1]);
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

    const std::wstring& windowsPattern = lines.back();
    for (const CalendarType calendar : {CalendarType::Gregorian, CalendarType::JapaneseEra}) {
        const std::wstring pattern = TranslateWindowsPattern(windowsPattern, calendar);
        Check(pattern.size() <= 4 * windowsPattern.size() + 1);
        const std::wstring text = FormatDateTime(pattern, 45823.6, facts); // 2025-06-15 14:24
        Check(text.size() <= (longestName + 8) * (pattern.size() + 1));
    }
    return 0;
}
