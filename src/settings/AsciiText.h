#pragma once
// ASCII letters as the settings file and the pattern languages see them: names and pattern
// letters match without regard to case, other characters as they are.

#include <cstddef>
#include <string_view>

namespace lumora {

constexpr wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

constexpr bool IsAsciiLetter(wchar_t c) {
    const wchar_t lower = AsciiLower(c);
    return lower >= L'a' && lower <= L'z';
}

// How many characters from start repeat text[start]: "hhh:nn" from 0 gives 3.
constexpr size_t RunLength(std::wstring_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && text[end] == text[start]) {
        ++end;
    }
    return end - start;
}

// The same, with upper- and lower-case ASCII letters as one: "HhH" gives 3.
constexpr size_t RunLengthIgnoringCase(std::wstring_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && AsciiLower(text[end]) == AsciiLower(text[start])) {
        ++end;
    }
    return end - start;
}

} // namespace lumora
