// Tooltip formats come from the settings file and locale patterns from the system: expanding any
// of them, at any date-time, must end quickly with a text of bounded length. Text the format
// language leaves alone, plain or quoted, must come out as written; the system is asked for its
// figures only when the format wants them, and once; and a whole UTF-16 text stays whole.

#include "FuzzCheck.h"
#include "settings/AsciiText.h"
#include "clock/TooltipFormat.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace lumora;

namespace {

// The first byte says how the rest becomes text: one byte per character finds the pattern
// letters quickly, two bytes per character reach all of UTF-16 as Windows has it.
std::wstring WideText(const uint8_t* data, size_t size, bool wide) {
    std::wstring text;
    if (wide) {
        for (size_t i = 0; i + 1 < size; i += 2) {
            text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        }
    } else {
        text.assign(data, data + size);
    }
    return text;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The text without the characters that start an escape, a pattern letter or quoted text.
std::wstring PlainText(std::wstring_view text) {
    std::wstring plain;
    for (wchar_t c : text) {
        if (c != L'\\' && c != L'"' && c != L'\'' && !IsAsciiLetter(c)) {
            plain += c;
        }
    }
    return plain;
}

// The text as it can stand between double quotes: no closing quote, and no backslash, as
// escapes are replaced inside quotes too.
std::wstring QuotableText(std::wstring_view text) {
    std::wstring quotable;
    for (wchar_t c : text) {
        if (c != L'\\' && c != L'"') {
            quotable += c;
        }
    }
    return quotable;
}

// Every high surrogate followed by a low one, and no low one on its own.
bool IsWholeUtf16(std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// Whether the format holds the escape \<letter> in either case.
bool HasEscape(std::wstring_view text, wchar_t letter) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'\\' && AsciiLower(text[i + 1]) == letter) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 12) {
        return 0;
    }
    const uint8_t mode = data[0];
    double dateTime = 0;
    std::memcpy(&dateTime, data + 1, sizeof dateTime); // NaN, infinities and huge values too
    const PowerStatus power{data[9], data[10], data[11]};
    const std::wstring text = WideText(data + 12, size - 12, (mode & 1) != 0);

    static const LocaleFacts japanese = JapaneseLocaleFacts();
    int memoryReads = 0;
    int powerReads = 0;
    const SystemFigures figures{.MillisecondsSinceStart = UINT32_MAX,
                                .Memory =
                                    [&memoryReads] {
                                        ++memoryReads;
                                        return MemoryFigures{UINT64_MAX, UINT64_MAX / 3, 1ull << 47, 999, 0, 12345};
                                    },
                                .Power = [&power, &powerReads, mode]() -> std::optional<PowerStatus> {
                                    ++powerReads;
                                    return (mode & 2) != 0 ? std::optional(power) : std::nullopt;
                                }};

    // Only \m adds more than a few dozen characters per input character.
    const std::wstring tooltip = ExpandTooltipFormat(text, dateTime, figures, japanese);
    Check(tooltip.size() <= 64 * (text.size() + 1));
    Check(memoryReads == (HasEscape(text, L'm') ? 1 : 0));
    Check(powerReads == (HasEscape(text, L'p') ? 1 : 0));
    // The tooltip is drawn again and again: the same moment gives the same text.
    Check(ExpandTooltipFormat(text, dateTime, figures, japanese) == tooltip);
    Check(IsWholeUtf16(tooltip) || !IsWholeUtf16(text));

    // Without letters, quotes and backslashes nothing is replaced; with Japanese separators "/"
    // and ":" stay as they are.
    const std::wstring plain = PlainText(text);
    Check(ExpandTooltipFormat(plain, dateTime, figures, japanese) == plain);
    // Quoted text, letters and all, is copied and leaves what follows it as it was: a quoted
    // "am/pm" does not put the hours on 12.
    const std::wstring quoted = QuotableText(text);
    Check(ExpandTooltipFormat(L'"' + quoted + L'"' + text, dateTime, figures, japanese) == quoted + tooltip);

    // Parts after a \x1f become the locale's patterns, so they can name each other and themselves.
    LocaleFacts locale = japanese;
    const std::vector<std::wstring> parts = Split(text, L'\x1f');
    std::wstring* patterns[] = {&locale.ShortDatePattern, &locale.LongDatePattern, &locale.ShortTimePattern,
                                &locale.LongTimePattern, &locale.TimeAmString};
    size_t longest = 8; // the longest Japanese name, with room
    for (size_t i = 1; i < parts.size() && i <= std::size(patterns); ++i) {
        *patterns[i - 1] = parts[i];
        longest = std::max(longest, parts[i].size());
    }
    locale.DateSeparator = static_cast<wchar_t>(mode >> 2);
    const std::wstring formatted = FormatDateTime(parts[0], dateTime, locale);
    Check(formatted.size() <= 2 * (longest + 1) * (longest + 1) * (parts[0].size() + 1));
    Check(IsWholeUtf16(formatted) || !IsWholeUtf16(text));

    // The same bytes as size figures.
    uint64_t part = 0;
    uint64_t whole = 0;
    std::memcpy(&part, data + 1, sizeof part);
    std::memcpy(&whole, data + 4, sizeof whole);
    Check(FormatByteSize(part).size() <= 12);
    Check(part > whole || WholePercent(part, whole) <= 100);
    return 0;
}
