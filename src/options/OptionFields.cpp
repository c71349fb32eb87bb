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

namespace {

// Only a hexadecimal item is a colour: "$" turns a sign or a second "$" into an error.
std::optional<Colour> CustomColourOf(const std::wstring& item) {
    if (auto value = ParseInteger(L"$" + item)) {
        return static_cast<Colour>(*value) & 0xFFFFFF;
    }
    return std::nullopt;
}

} // namespace

std::array<Colour, ViewSettings::CustomColorCount> CustomColoursForDialog(const std::vector<std::wstring>& items) {
    std::array<Colour, ViewSettings::CustomColorCount> colours{};
    for (size_t i = 0; i < colours.size() && i < items.size(); ++i) {
        colours[i] = CustomColourOf(items[i]).value_or(0);
    }
    return colours;
}

std::vector<std::wstring> CustomColourItems(const std::array<Colour, ViewSettings::CustomColorCount>& colours,
                                            const std::vector<std::wstring>& readItems) {
    constexpr wchar_t hex[] = L"0123456789ABCDEF";
    std::vector<std::wstring> items;
    for (size_t i = 0; i < colours.size(); ++i) {
        Colour c = colours[i];
        if (i < readItems.size() && CustomColourOf(readItems[i]) == c) {
            items.push_back(readItems[i]);
            continue;
        }
        std::wstring item(6, L'0');
        for (int digit = 5; digit >= 0; --digit, c >>= 4) {
            item[digit] = hex[c & 0xF];
        }
        items.push_back(item);
    }
    return items;
}

namespace {

constexpr Colour SystemColour(int index) {
    return SystemColourFlag + static_cast<Colour>(index);
}

constexpr ColourChoice ColourChoiceTable[] = {
    {0x000000, L"黒"},
    {0x000080, L"マルーン"},
    {0x008000, L"緑"},
    {0x008080, L"オリーブ"},
    {0x800000, L"紺"},
    {0x800080, L"紫"},
    {0x808000, L"青緑"},
    {0x808080, L"灰色"},
    {0xC0C0C0, L"銀色"},
    {0x0000FF, L"赤"},
    {0x00FF00, L"ライム"},
    {0x00FFFF, L"黄"},
    {0xFF0000, L"青"},
    {0xFF00FF, L"赤紫"},
    {0xFFFF00, L"水色"},
    {0xFFFFFF, L"白"},
    {SystemColour(0), L"スクロール バー"},
    {SystemColour(1), L"デスクトップ"},
    {SystemColour(2), L"アクティブ タイトル バー"},
    {SystemColour(3), L"非アクティブ タイトル バー"},
    {SystemColour(4), L"メニュー"},
    {SystemColour(5), L"ウィンドウの背景"},
    {SystemColour(6), L"ウィンドウの枠"},
    {SystemColour(7), L"メニューの文字"},
    {SystemColour(8), L"ウィンドウの文字"},
    {SystemColour(9), L"タイトル バーの文字"},
    {SystemColour(10), L"アクティブ ウィンドウの境界"},
    {SystemColour(11), L"非アクティブ ウィンドウの境界"},
    {SystemColour(12), L"アプリケーションの作業領域"},
    {SystemColour(13), L"選択項目の背景"},
    {SystemColour(14), L"選択項目の文字"},
    {SystemColour(15), L"ボタンの表面"},
    {SystemColour(16), L"ボタンの影"},
    {SystemColour(17), L"淡色表示の文字"},
    {SystemColour(18), L"ボタンの文字"},
    {SystemColour(19), L"非アクティブ タイトル バーの文字"},
    {SystemColour(20), L"ボタンのハイライト"},
    {SystemColour(21), L"3D オブジェクトの暗い影"},
    {SystemColour(22), L"3D オブジェクトの明るい面"},
    {SystemColour(23), L"ツールチップの文字"},
    {SystemColour(24), L"ツールチップの背景"},
    {SystemColour(26), L"ホット トラック項目"},
    {SystemColour(27), L"アクティブ タイトル バーのグラデーション"},
    {SystemColour(28), L"非アクティブ タイトル バーのグラデーション"},
    {SystemColour(29), L"メニューの選択項目"},
    {SystemColour(30), L"メニュー バー"},
};

} // namespace

std::span<const ColourChoice> ColourChoices() {
    return ColourChoiceTable;
}

int ColourChoiceIndex(Colour colour) {
    for (size_t i = 0; i < std::size(ColourChoiceTable); ++i) {
        if (ColourChoiceTable[i].Value == colour) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::wstring CustomColourText(Colour colour) {
    if (IsSystemColour(colour)) {
        return L"システム カラー " + std::to_wstring(SystemColourIndex(colour));
    }
    return L"RGB(" + std::to_wstring(colour & 0xFF) + L", " + std::to_wstring((colour >> 8) & 0xFF) + L", " +
           std::to_wstring((colour >> 16) & 0xFF) + L")";
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
