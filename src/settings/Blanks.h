#pragma once
// Blanks around names and values in the settings file: spaces and tabs.

#include <string_view>

namespace lumora {

constexpr bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

constexpr std::wstring_view Trim(std::wstring_view s) {
    size_t first = 0;
    while (first < s.size() && IsBlank(s[first])) {
        ++first;
    }
    size_t last = s.size();
    while (last > first && IsBlank(s[last - 1])) {
        --last;
    }
    return s.substr(first, last - first);
}

} // namespace lumora
