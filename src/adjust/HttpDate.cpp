#include "adjust/HttpDate.h"

#include "clock/DateTime.h"

#include <algorithm>
#include <type_traits>

namespace lumora {
namespace {

constexpr int NotANumberDate = 0;
constexpr int NotANumberTime = 65535;

template <typename Char> std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
    return text.substr(0, text.find(Char{0}));
}

// 1-based positions, as the layout is described. A field cut short by the end of the text is no
// number: "08:49:3" must not pass as 08:49:03.
template <typename Char>
std::basic_string_view<Char> Field(std::basic_string_view<Char> text, size_t first, size_t last) {
    if (last > text.size()) {
        return {};
    }
    return text.substr(first - 1, last - first + 1);
}

template <typename Char> int Decimal(std::basic_string_view<Char> field, int otherwise) {
    if (field.empty()) {
        return otherwise;
    }
    int value = 0;
    for (const Char c : field) {
        if (c < Char{'0'} || c > Char{'9'}) {
            return otherwise;
        }
        value = value * 10 + (c - Char{'0'});
    }
    return value;
}

// Only ASCII letters fold; anything else matches no month name.
template <typename Char> char AsciiLower(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    if (code >= 128) {
        return '\0';
    }
    return static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
}

template <typename Char> int MonthNumber(std::basic_string_view<Char> field) {
    static constexpr std::string_view Months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                  "jul", "aug", "sep", "oct", "nov", "dec"};
    if (field.size() != 3) {
        return NotANumberDate;
    }
    for (int i = 0; i < 12; ++i) {
        if (std::equal(field.begin(), field.end(), Months[i].begin(),
                       [](Char c, char m) { return AsciiLower(c) == m; })) {
            return i + 1;
        }
    }
    return NotANumberDate;
}

template <typename Char> std::optional<double> Parse(std::basic_string_view<Char> header) {
    const auto text = UpToNul(header);
    return TryComposeDateTime(Decimal(Field(text, 13, 16), NotANumberDate), MonthNumber(Field(text, 9, 11)),
                              Decimal(Field(text, 6, 7), NotANumberDate), Decimal(Field(text, 18, 19), NotANumberTime),
                              Decimal(Field(text, 21, 22), NotANumberTime),
                              Decimal(Field(text, 24, 25), NotANumberTime), 0);
}

} // namespace

std::optional<double> ParseHttpDate(std::wstring_view header) {
    return Parse(header);
}

std::optional<double> ParseHttpDate(std::string_view header) {
    return Parse(header);
}

} // namespace lumora
