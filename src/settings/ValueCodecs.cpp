#include "settings/ValueCodecs.h"

#include "settings/Blanks.h"

#include "settings/IniDocument.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace lumora {

namespace {

constexpr bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int HexDigitValue(wchar_t c) {
    if (IsDigit(c)) {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

struct NamedColour {
    std::wstring_view Name;
    Colour Value;
};

constexpr Colour System(int index) {
    return SystemColourFlag + static_cast<Colour>(index);
}

constexpr NamedColour ColourTable[] = {
    {L"clBlack", 0x000000},
    {L"clMaroon", 0x000080},
    {L"clGreen", 0x008000},
    {L"clOlive", 0x008080},
    {L"clNavy", 0x800000},
    {L"clPurple", 0x800080},
    {L"clTeal", 0x808000},
    {L"clGray", 0x808080},
    {L"clSilver", 0xC0C0C0},
    {L"clRed", 0x0000FF},
    {L"clLime", 0x00FF00},
    {L"clYellow", 0x00FFFF},
    {L"clBlue", 0xFF0000},
    {L"clFuchsia", 0xFF00FF},
    {L"clAqua", 0xFFFF00},
    {L"clWhite", 0xFFFFFF},
    {L"clMoneyGreen", 0xC0DCC0},
    {L"clSkyBlue", 0xF0CAA6},
    {L"clCream", 0xF0FBFF},
    {L"clMedGray", 0xA4A0A0},
    {L"clNone", ColourNone},
    {L"clDefault", ColourDefault},
    {L"clScrollBar", System(0)},
    {L"clBackground", System(1)},
    {L"clActiveCaption", System(2)},
    {L"clInactiveCaption", System(3)},
    {L"clMenu", System(4)},
    {L"clWindow", System(5)},
    {L"clWindowFrame", System(6)},
    {L"clMenuText", System(7)},
    {L"clWindowText", System(8)},
    {L"clCaptionText", System(9)},
    {L"clActiveBorder", System(10)},
    {L"clInactiveBorder", System(11)},
    {L"clAppWorkSpace", System(12)},
    {L"clHighlight", System(13)},
    {L"clHighlightText", System(14)},
    {L"clBtnFace", System(15)},
    {L"clBtnShadow", System(16)},
    {L"clGrayText", System(17)},
    {L"clBtnText", System(18)},
    {L"clInactiveCaptionText", System(19)},
    {L"clBtnHighlight", System(20)},
    {L"cl3DDkShadow", System(21)},
    {L"cl3DLight", System(22)},
    {L"clInfoText", System(23)},
    {L"clInfoBk", System(24)},
    {L"clHotLight", System(26)},
    {L"clGradientActiveCaption", System(27)},
    {L"clGradientInactiveCaption", System(28)},
    {L"clMenuHighlight", System(29)},
    {L"clMenuBar", System(30)},
};

template <typename Predicate> const NamedColour* FindColour(Predicate matches) {
    for (const NamedColour& entry : ColourTable) {
        if (matches(entry)) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<int32_t> ParseHex(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (wchar_t c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(value);
}

bool NeedsQuotes(std::wstring_view item) {
    return item.find_first_of(L" \t,\"") != std::wstring_view::npos;
}

void AppendQuoted(std::wstring& out, std::wstring_view item) {
    out += L'"';
    for (wchar_t c : item) {
        out += c;
        if (c == L'"') {
            out += L'"';
        }
    }
    out += L'"';
}

} // namespace

std::optional<int32_t> ParseInteger(std::wstring_view text) {
    text = Trim(text);
    if (text.starts_with(L'$')) {
        return ParseHex(text.substr(1));
    }
    if (text.starts_with(L"0x") || text.starts_with(L"0X")) {
        return ParseHex(text.substr(2));
    }

    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // One past INT32_MAX is still allowed so that INT32_MIN can be written.
    const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
    int64_t value = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::wstring FormatInteger(int64_t value) {
    return std::to_wstring(value);
}

std::optional<bool> ParseBoolean(std::wstring_view text) {
    const std::optional<int32_t> value = ParseInteger(text);
    if (!value) {
        return std::nullopt;
    }
    return *value != 0;
}

std::wstring FormatBoolean(bool value) {
    return value ? L"1" : L"0";
}

std::optional<double> ParseFloat(std::wstring_view text, wchar_t decimalSeparator) {
    text = Trim(text);
    // Checked by hand first: from_chars alone would take "inf", "nan" and hexadecimal forms,
    // and the text is wide. What passes is plain ASCII with '.' as the separator.
    std::string narrow;
    narrow.reserve(text.size());
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') {
            narrow += '-';
        }
        ++i;
    }
    size_t mantissaDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        narrow += static_cast<char>(text[i]);
        ++mantissaDigits;
    }
    if (i < text.size() && (text[i] == decimalSeparator || text[i] == L'.')) {
        narrow += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            narrow += static_cast<char>(text[i]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        narrow += 'e';
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
            narrow += static_cast<char>(text[i]);
            ++i;
        }
        size_t exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            narrow += static_cast<char>(text[i]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }

    double value = 0;
    const char* end = narrow.data() + narrow.size();
    const auto [ptr, ec] = std::from_chars(narrow.data(), end, value, std::chars_format::general);
    if (ec != std::errc{} || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::wstring FormatFloat(double value, wchar_t decimalSeparator) {
    // Large enough for any double in either form (at most 24 characters).
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    char* const last = buffer.data() + buffer.size();

    // 15 significant digits give the tidy text people expect ("0.1", not "0.1000000000000000055").
    char* end = std::to_chars(first, last, value, std::chars_format::general, 15).ptr;
    double readBack = 0;
    std::from_chars(first, end, readBack, std::chars_format::general);
    if (readBack != value || std::signbit(readBack) != std::signbit(value)) {
        end = std::to_chars(first, last, value).ptr;
    }

    std::wstring text;
    text.reserve(static_cast<size_t>(end - first));
    for (const char* p = first; p != end; ++p) {
        text += *p == '.' ? decimalSeparator : static_cast<wchar_t>(*p);
    }
    return text;
}

std::optional<Colour> ParseColour(std::wstring_view text) {
    const std::wstring_view name = Trim(text);
    if (const NamedColour* entry =
            FindColour([name](const NamedColour& c) { return EqualsIgnoreCase(c.Name, name); })) {
        return entry->Value;
    }
    const std::optional<int32_t> value = ParseInteger(name);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<Colour>(*value);
}

std::wstring FormatColour(Colour value) {
    if (const std::optional<std::wstring_view> name = ColourName(value)) {
        return std::wstring(*name);
    }
    static constexpr wchar_t HexDigits[] = L"0123456789ABCDEF";
    std::wstring text(9, L'$');
    for (int i = 8; i >= 1; --i) {
        text[static_cast<size_t>(i)] = HexDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

std::optional<std::wstring_view> ColourName(Colour value) {
    if (const NamedColour* entry = FindColour([value](const NamedColour& c) { return c.Value == value; })) {
        return entry->Name;
    }
    return std::nullopt;
}

std::wstring JoinCommaList(const std::vector<std::wstring>& items) {
    std::wstring out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += L',';
        }
        if (NeedsQuotes(items[i])) {
            AppendQuoted(out, items[i]);
        } else {
            out += items[i];
        }
    }
    return out;
}

std::vector<std::wstring> SplitCommaList(std::wstring_view text) {
    std::vector<std::wstring> items;
    if (Trim(text).empty()) {
        return items;
    }
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        std::wstring item;
        if (pos < text.size() && text[pos] == L'"') {
            // Quoted: "" stands for one quote; an unclosed quote runs to the end of the text.
            for (++pos; pos < text.size(); ++pos) {
                if (text[pos] == L'"') {
                    if (pos + 1 < text.size() && text[pos + 1] == L'"') {
                        item += L'"';
                        ++pos;
                    } else {
                        ++pos;
                        break;
                    }
                } else {
                    item += text[pos];
                }
            }
            // Hand-edited files may have text after the closing quote; keep it rather than lose it.
            const size_t comma = std::min(text.find(L',', pos), text.size());
            std::wstring_view rest = text.substr(pos, comma - pos);
            while (!rest.empty() && IsBlank(rest.back())) {
                rest.remove_suffix(1);
            }
            item += rest;
            pos = comma;
        } else {
            const size_t comma = std::min(text.find(L',', pos), text.size());
            item = Trim(text.substr(pos, comma - pos));
            pos = comma;
        }
        items.push_back(std::move(item));
        if (pos >= text.size()) {
            break;
        }
        ++pos; // the comma; one at the very end still ends an (empty) item
    }
    return items;
}

std::wstring JoinQuotedCommaList(const std::vector<std::wstring>& items) {
    std::wstring out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += L',';
        }
        AppendQuoted(out, items[i]);
    }
    return out;
}

} // namespace lumora
