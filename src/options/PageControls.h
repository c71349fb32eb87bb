#pragma once
// The controls of one options page seen through the values they edit: each page writes one
// exchange routine that runs both ways (the dialog loads the controls from the values, or reads
// the values back from the controls), and one routine that shows and enables controls by the
// page's rules.

#include "options/OptionFields.h"

#include <windows.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

enum class ExchangeDirection { Load, Store };

class PageControls {
public:
    PageControls(HWND page, ExchangeDirection direction) : page_(page), direction_(direction) {}

    HWND Page() const { return page_; }
    HWND Item(int id) const { return GetDlgItem(page_, id); }
    bool Loading() const { return direction_ == ExchangeDirection::Load; }

    // Exchange, in the direction given at construction.
    void Text(int id, std::wstring& value);                 // edit fields and editable combo boxes
    void Check(int id, bool& value);                        // check boxes
    void Choice(int id, int& index);                        // drop-down lists: the selected entry, -1 none
    void Slider(int id, int& position);                     // track bars
    void Radio(std::initializer_list<int> ids, int& index); // a group of radio buttons
    // An up-down's own position: read back, it follows its field's text while that is a number
    // and otherwise keeps the last one.
    void UpDownPosition(int id, int32_t& position);
    // A drop-down list of names: selects the entry equal to `value` (when there is one) or
    // reads the selected entry's text.
    void ChoiceText(int id, std::wstring& value);

    // Rules.
    void Show(std::initializer_list<int> ids, bool shown);
    void Enable(std::initializer_list<int> ids, bool enabled);
    void SetText(int id, std::wstring_view text);
    std::wstring GetText(int id) const;

    // Made once, when the page is created.
    void FillChoices(int id, std::span<const std::wstring_view> entries);
    void FillChoices(int id, const std::vector<std::wstring>& entries);
    // An edit with an up-down: digits (and a minus sign when the range is signed) up to
    // `characters` long, the arrows stepping by `step` within the range.
    void NumberField(int editId, int upDownId, NumberRange range, int characters, int step = 1);
    void LimitText(int id, int characters);
    void SliderRange(int id, int min, int max, int pageStep = 0);

private:
    HWND page_;
    ExchangeDirection direction_;
};

} // namespace lumora
