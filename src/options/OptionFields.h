#pragma once
// The conversions the options pages share: numeric edit fields with their ranges, the font size
// box, the hour/minute/second choices, font and list look-ups, the colour dialog's custom
// colours and the process priority entries.

#include "settings/Settings.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Facts of the running system some pages depend on.
struct DisplayFacts {
    bool LayeredWindowsAvailable = true;
    int BitsPerPixel = 32;
};

struct NumberRange {
    int32_t Min = 0;
    int32_t Max = 0;
};

// The text an edit field shows for a value.
std::wstring NumberText(int32_t value);

// The value a numeric field stores on Apply: its text read as a number, or `unreadable` (the
// range's lower limit unless a page states otherwise), kept within the range. The field then
// shows the stored value, so what the page shows is what was kept.
int32_t TakeNumber(std::wstring& text, NumberRange range, std::optional<int32_t> unreadable = std::nullopt);

// The font size box: "自動" for 0, otherwise the number.
extern const std::wstring_view AutomaticFontSizeText;
std::wstring FontSizeText(int32_t size);
// "自動" or text that is no number is automatic (0); the number 0 means 12; others are kept
// within 12..200 and the box shows the corrected number.
int32_t TakeFontSize(std::wstring& text);

// The hour choice: 0 hidden, 1/2 12-hour without/with leading zero, 3/4 24-hour likewise.
int HourChoice(const FormatSettings& format);
void ApplyHourChoice(int choice, FormatSettings& format);
// Minute and second choices: 0 hidden, 1 shown, 2 shown with a leading zero.
int PartChoice(bool shown, bool twoDigits);
void ApplyPartChoice(int choice, bool& shown, bool& twoDigits);

// Names compare as a list box finds its entries: ASCII letters without regard to case.
bool SameListText(std::wstring_view a, std::wstring_view b);
int FindListText(const std::vector<std::wstring>& list, std::wstring_view text); // -1 when absent

// A font box selects the stored name when the list has it, otherwise the list's own font.
std::wstring ListedFont(const std::vector<std::wstring>& families, std::wstring_view name, std::wstring_view listFont);

// Unit label of a size that can be relative.
std::wstring_view SizeUnitText(bool relative);

// The 16 custom colours offered to the colour dialog: each item read as hexadecimal BBGGRR; an
// item that is not hexadecimal is offered as black.
std::array<Colour, ViewSettings::CustomColorCount> CustomColoursForDialog(const std::vector<std::wstring>& items);
// Back from the dialog: an item still holding the colour it was read as keeps its text; any
// other colour is written as six hexadecimal digits.
std::vector<std::wstring> CustomColourItems(const std::array<Colour, ViewSettings::CustomColorCount>& colours,
                                            const std::vector<std::wstring>& readItems = {});

// The named entries of a colour box: the 16 standard colours, then the system colours.
struct ColourChoice {
    Colour Value;
    std::wstring_view Name;
};
std::span<const ColourChoice> ColourChoices();
// The entry that shows a colour, or -1 for a colour the box shows as a custom one.
int ColourChoiceIndex(Colour colour);
// The entry text of a custom colour.
std::wstring CustomColourText(Colour colour);

// Process priority entries: six with layered windows, else four (no "below/above normal").
int PriorityEntryCount(bool layeredWindowsAvailable);
int32_t PriorityClassOfEntry(int entry, bool layeredWindowsAvailable);
// A class that has no entry selects "通常".
int PriorityEntryOfClass(int32_t priorityClass, bool layeredWindowsAvailable);
// High and real time are confirmed with the user first.
bool PriorityNeedsConfirmation(int32_t priorityClass);

} // namespace lumora
