#include "clock/LocalePatterns.h"

#include "settings/AsciiText.h"

#include <algorithm>
#include <optional>

namespace lumora {
namespace {

// Digits at text[from, from + count), or -1.
int Digits(std::wstring_view text, size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return -1;
        }
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

std::optional<Era> ParseWindowsEra(std::wstring_view startDate, std::wstring_view names) {
    if (startDate.size() != 10 || startDate[4] != L' ' || startDate[7] != L' ') {
        return std::nullopt;
    }
    Era era;
    era.StartYear = Digits(startDate, 0, 4);
    era.StartMonth = Digits(startDate, 5, 2);
    era.StartDay = Digits(startDate, 8, 2);
    if (era.StartYear < 0 || era.StartMonth < 1 || era.StartMonth > 12 || era.StartDay < 1 || era.StartDay > 31) {
        return std::nullopt;
    }
    std::vector<std::wstring_view> parts;
    for (size_t start = 0;;) {
        const size_t end = names.find(L'_', start);
        parts.push_back(names.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (parts.size() != 4 || std::any_of(parts.begin(), parts.end(), [](auto part) { return part.empty(); })) {
        return std::nullopt;
    }
    era.Name = parts[0];
    era.ShortName = parts[1];
    return era;
}

} // namespace

std::vector<Era> WindowsEraTable(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
    // Windows has listed at least Meiji, Taisho, Showa and Heisei since it keeps the table.
    constexpr size_t FewestEras = 4;
    std::vector<Era> eras;
    for (const auto& [startDate, names] : values) {
        if (std::optional<Era> era = ParseWindowsEra(startDate, names)) {
            eras.push_back(std::move(*era));
        }
    }
    if (eras.size() < FewestEras) {
        eras.clear();
    }
    return eras;
}

std::wstring TranslateWindowsPattern(std::wstring_view pattern, CalendarType calendar) {
    std::wstring result;
    for (size_t i = 0; i < pattern.size();) {
        const wchar_t c = pattern[i];
        if (c == L'\'') {
            // Quoted text is copied with its quotes, which mean the same in both languages.
            const size_t close = pattern.find(L'\'', i + 1);
            const size_t end = close == std::wstring_view::npos ? pattern.size() : close + 1;
            result += pattern.substr(i, end - i);
            if (close == std::wstring_view::npos) {
                result += L'\'';
            }
            i = end;
            continue;
        }
        const size_t run = RunLength(pattern, i);
        switch (c) {
        case L'M':
            result.append(run, L'm');
            break;
        case L'm':
            result.append(run, L'n');
            break;
        case L'H':
        case L'h':
            result.append(run, L'h');
            break;
        case L't':
            result += L"ampm";
            break;
        case L'y':
            // The era year: y without a leading zero, yy and longer with one to two digits.
            if (calendar == CalendarType::JapaneseEra) {
                result += run == 1 ? L"e" : L"ee";
            } else {
                result.append(run, c);
            }
            break;
        case L'g':
            result.append(calendar == CalendarType::JapaneseEra ? 2 : run, c);
            break;
        case L'd':
        case L's':
            result.append(run, c);
            break;
        default:
            // Any other letter is literal text in Windows patterns but may be a letter of ours.
            if (IsAsciiLetter(c)) {
                result += L'\'' + std::wstring(run, c) + L'\'';
            } else {
                result.append(run, c);
            }
        }
        i += run;
    }
    return result;
}

} // namespace lumora
