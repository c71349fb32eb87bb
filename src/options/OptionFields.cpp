#include "options/OptionFields.h"

#include "settings/AsciiText.h"
#include "settings/SettingsSchema.h"

#include <algorithm>

namespace lumora {

std::wstring NumberText(int32_t value) {
    return std::to_wstring(value);
}

int32_t TakeNumber(std::wstring& text, NumberRange range, std::optional<int32_t> unreadable) {
    const int32_t read = ParseInteger(text).value_or(unreadable.value_or(range.Min));
    const int32_t value = std::clamp(read, range.Min, range.Max);
    text = NumberText(value);
    return value;
}

const std::wstring_view AutomaticFontSizeText = L"自動";

std::wstring FontSizeText(int32_t size) {
    return size == 0 ? std::wstring(AutomaticFontSizeText) : NumberText(size);
}

int32_t TakeFontSize(std::wstring& text) {
    constexpr int32_t smallest = 12;
    const auto number = text == AutomaticFontSizeText ? std::nullopt : ParseInteger(text);
    const int32_t size = !number ? 0 : *number == 0 ? smallest : std::clamp(*number, smallest, 200);
    text = FontSizeText(size);
    return size;
}

int HourChoice(const FormatSettings& f) {
    return f.Hour ? (f.HourDouble ? 2 : 1) + (f.Hour12 ? 0 : 2) : 0;
}

void ApplyHourChoice(int choice, FormatSettings& f) {
    f.Hour = choice > 0;
    f.Hour12 = choice < 3;
    f.HourDouble = choice == 2 || choice == 4;
}

int PartChoice(bool shown, bool twoDigits) {
    return shown ? (twoDigits ? 2 : 1) : 0;
}

void ApplyPartChoice(int choice, bool& shown, bool& twoDigits) {
    shown = choice > 0;
    twoDigits = choice == 2;
}

bool SameListText(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return AsciiLower(x) == AsciiLower(y); });
}

int FindListText(const std::vector<std::wstring>& list, std::wstring_view text) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (SameListText(list[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::wstring ListedFont(const std::vector<std::wstring>& families, std::wstring_view name, std::wstring_view listFont) {
    const int found = FindListText(families, name);
    return found >= 0 ? families[found] : std::wstring(listFont);
}

std::wstring_view SizeUnitText(bool relative) {
    return relative ? L"ポイント" : L"ピクセル";
}

std::array<Colour, ViewSettings::CustomColorCount> CustomColoursForDialog(const std::vector<std::wstring>& items) {
    std::array<Colour, ViewSettings::CustomColorCount> colours{};
    for (size_t i = 0; i < colours.size() && i < items.size(); ++i) {
        // Only a hexadecimal item is a colour: "$" turns a sign or a second "$" into an error.
        if (auto value = ParseInteger(L"$" + items[i])) {
            colours[i] = static_cast<Colour>(*value) & 0xFFFFFF;
        }
    }
    return colours;
}

std::vector<std::wstring> CustomColourItems(const std::array<Colour, ViewSettings::CustomColorCount>& colours) {
    constexpr wchar_t hex[] = L"0123456789ABCDEF";
    std::vector<std::wstring> items;
    for (Colour c : colours) {
        std::wstring item(6, L'0');
        for (int digit = 5; digit >= 0; --digit, c >>= 4) {
            item[digit] = hex[c & 0xF];
        }
        items.push_back(item);
    }
    return items;
}

namespace {
constexpr int32_t NormalClass = OfferedPriorityClasses[2];
constexpr int32_t HighClass = OfferedPriorityClasses[4];
constexpr int32_t RealTimeClass = OfferedPriorityClasses[5];
constexpr std::array<int32_t, 4> ClassesWithoutLayers{IdlePriorityClass, NormalClass, HighClass, RealTimeClass};
} // namespace

int PriorityEntryCount(bool layered) {
    return layered ? 6 : 4;
}

int32_t PriorityClassOfEntry(int entry, bool layered) {
    if (entry < 0 || entry >= PriorityEntryCount(layered)) {
        return NormalClass;
    }
    return layered ? OfferedPriorityClasses[entry] : ClassesWithoutLayers[entry];
}

int PriorityEntryOfClass(int32_t priorityClass, bool layered) {
    for (int entry = 0; entry < PriorityEntryCount(layered); ++entry) {
        if (PriorityClassOfEntry(entry, layered) == priorityClass) {
            return entry;
        }
    }
    return PriorityEntryOfClass(NormalClass, layered);
}

bool PriorityNeedsConfirmation(int32_t priorityClass) {
    return priorityClass == HighClass || priorityClass == RealTimeClass;
}

} // namespace lumora
