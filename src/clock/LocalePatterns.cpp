#include "clock/LocalePatterns.h"

namespace lumora {
namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

size_t RunLength(std::wstring_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && text[end] == text[start]) {
        ++end;
    }
    return end - start;
}

} // namespace

std::wstring TranslateWindowsPattern(std::wstring_view pattern) {
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
        case L'd':
        case L'y':
        case L'g':
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
