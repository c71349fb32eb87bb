#pragma once
// One binding per options page names each page value with its setting once; the same binding
// fills the page from the settings when the dialog opens (PageLoad) and writes the page back on
// Apply (PageApply). A binding is a template over the direction, in the manner of the settings
// schema: each page's `template <class Io, class S> void Bind(const Io& io, S& settings)`, S
// being const Settings on load.
//
// What only one direction knows stays outside the binding, in the page's Load or Apply: what
// the system offers (fonts, ports, effects), defaults made of system facts, and corrections
// such as a greyed-out box that stores off.

#include "options/OptionFields.h"

#include <algorithm>
#include <optional>

namespace lumora {

// Conversions for Convert.
inline constexpr auto AsIs = [](const auto& value) { return value; };

// A slider or a list keeps its position within its range; what it shows is stored as it is.
inline auto KeptWithin(NumberRange range) {
    return [range](int32_t value) { return std::clamp(value, range.Min, range.Max); };
}

// A font box or a drop-down that shows nothing leaves the stored value alone.
inline std::optional<std::wstring> NamedOnly(const std::wstring& name) {
    return name.empty() ? std::nullopt : std::optional(name);
}
inline std::optional<int32_t> ChosenOnly(int entry) {
    return entry >= 0 ? std::optional<int32_t>(entry) : std::nullopt;
}

// Settings -> page.
struct PageLoad {
    static constexpr bool Loading = true;

    template <class Field, class Stored> void Same(Field& field, const Stored& stored) const { field = stored; }

    // A numeric edit field shows the stored number.
    void Number(std::wstring& text, int32_t stored, NumberRange, std::optional<int32_t> = std::nullopt) const {
        text = NumberText(stored);
    }

    // A page value in another form than its setting: toPage(stored) here, toStored(field) on Apply.
    template <class Field, class Stored, class ToPage, class ToStored>
    void Convert(Field& field, const Stored& stored, ToPage toPage, ToStored) const {
        field = toPage(stored);
    }

    // A page value that starts from a setting and is never written back as such (an up-down's
    // position, which stands in for an unreadable field on Apply).
    template <class Field, class Stored> void LoadOnly(Field& field, const Stored& stored) const { field = stored; }

    // A part of the page with its own Load and Apply.
    template <class Part, class Stored> void Nested(Part& part, const Stored& stored) const {
        part = Part::Load(stored);
    }
};

template <class T> constexpr bool IsOptional = false;
template <class T> constexpr bool IsOptional<std::optional<T>> = true;

// Page -> settings.
struct PageApply {
    static constexpr bool Loading = false;

    template <class Field, class Stored> void Same(const Field& field, Stored& stored) const { stored = field; }

    // The field's text read within its range (or `unreadable`, see TakeNumber); the field then
    // shows what was stored.
    void Number(std::wstring& text, int32_t& stored, NumberRange range,
                std::optional<int32_t> unreadable = std::nullopt) const {
        stored = TakeNumber(text, range, unreadable);
    }

    // toStored may give std::optional: nothing leaves the stored value as it is.
    template <class Field, class Stored, class ToPage, class ToStored>
    void Convert(Field& field, Stored& stored, ToPage, ToStored toStored) const {
        auto value = toStored(field);
        if constexpr (IsOptional<decltype(value)>) {
            if (value) {
                stored = std::move(*value);
            }
        } else {
            stored = std::move(value);
        }
    }

    template <class Field, class Stored> void LoadOnly(const Field&, const Stored&) const {}

    template <class Part, class Stored> void Nested(const Part& part, Stored& stored) const { part.Apply(stored); }
};

// A page as its binding fills it from the settings.
template <class Page> Page LoadedPage(const Settings& settings) {
    Page page;
    page.Bind(PageLoad{}, settings);
    return page;
}

} // namespace lumora
