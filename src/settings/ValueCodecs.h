#pragma once
// Text forms of the values in the settings file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// 00BBGGRR for RGB colours; $80000000 plus the index for system colours.
using Colour = uint32_t;

constexpr Colour ColourNone = 0x1FFFFFFF;
constexpr Colour ColourDefault = 0x20000000;
constexpr Colour SystemColourFlag = 0x80000000;

constexpr bool IsSystemColour(Colour c) {
    return (c & SystemColourFlag) != 0;
}
constexpr int SystemColourIndex(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr Colour Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return r | (g << 8) | (uint32_t(b) << 16);
}

// Decimal with optional sign, or hexadecimal after "$", "0x" or "0X" (up to 8 digits, the
// 32-bit pattern taken as signed). Surrounding blanks are allowed; anything else fails.
std::optional<int32_t> ParseInteger(std::wstring_view text);
std::wstring FormatInteger(int64_t value);

// Read as an integer: 0 false, any other number true.
std::optional<bool> ParseBoolean(std::wstring_view text);
std::wstring FormatBoolean(bool value); // "1" or "0"

// General decimal notation with the given decimal separator ('.' is accepted too). NaN and
// infinities are refused.
std::optional<double> ParseFloat(std::wstring_view text, wchar_t decimalSeparator);
// Up to 15 significant digits when that reads back to the same value, else the shortest
// text that does.
std::wstring FormatFloat(double value, wchar_t decimalSeparator);

// A name of the colour table, or integer text.
std::optional<Colour> ParseColour(std::wstring_view text);
// The table name when there is one, otherwise "$" and eight hexadecimal digits.
std::wstring FormatColour(Colour value);
// The name of a colour of the table, or nothing.
std::optional<std::wstring_view> ColourName(Colour value);

// Items joined by ","; an item holding a blank, comma or double quote is quoted with inner
// quotes doubled.
std::wstring JoinCommaList(const std::vector<std::wstring>& items);
std::vector<std::wstring> SplitCommaList(std::wstring_view text);
// Every item quoted, as the IgnoreWindows entries are written ("title","class").
std::wstring JoinQuotedCommaList(const std::vector<std::wstring>& items);

} // namespace lumora
