// Tooltip formats come from the settings file and locale patterns from the system: expanding any
// of them, at any date-time, must end quickly with a text of bounded length.

#include "FuzzCheck.h"
#include "shell/TooltipFormat.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
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
    const SystemFigures figures{
        .MillisecondsSinceStart = UINT32_MAX,
        .Memory = [] { return MemoryFigures{UINT64_MAX, UINT64_MAX / 3, 1ull << 47, 999, 0, 12345}; },
        .Power = [&power, mode]() -> std::optional<PowerStatus> {
            return (mode & 2) != 0 ? std::optional(power) : std::nullopt;
        }};

    // Only \m adds more than a few dozen characters per input character.
    const std::wstring tooltip = ExpandTooltipFormat(text, dateTime, figures, japanese);
    Check(tooltip.size() <= 64 * (text.size() + 1));

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

    // The same bytes as size figures.
    uint64_t part = 0;
    uint64_t whole = 0;
    std::memcpy(&part, data + 1, sizeof part);
    std::memcpy(&whole, data + 4, sizeof whole);
    Check(FormatByteSize(part).size() <= 12);
    Check(part > whole || WholePercent(part, whole) <= 100);
    return 0;
}
