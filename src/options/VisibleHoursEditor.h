#pragma once
// The week of visible minutes as the options dialog edits it: a copy of the settings' table, of
// which one day and hour shows at a time as 60 three-state boxes, and the presets the boxes'
// popup menu offers. The copy goes back into the settings on Apply only.

#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <span>

namespace lumora {

constexpr int MinutesPerHour = 60;

// The boxes of one hour, minute 0 first: 0 hidden (unchecked), 1 shown (checked), 2 shown for
// a while (grey).
using MinuteStates = std::array<uint8_t, MinutesPerHour>;

// The state a box takes when the user clicks it: unchecked, checked, grey, unchecked again.
uint8_t NextMinuteState(uint8_t state);

// The items of the popup menu, in menu order.
enum class VisibleHoursPreset {
    ShowWeek,
    TemporaryWeek,
    HideWeek,
    ShowDay,
    TemporaryDay,
    HideDay,
    Broadcast, // "おまかせ": on in the morning, at the top of the hour around noon and evening
};

class VisibleHoursEditor {
public:
    static VisibleHoursEditor Load(const Settings& settings);
    void Apply(Settings& settings) const;

    int Day() const { return day_; } // 0 = Monday
    int Hour() const { return hour_; }
    const std::array<uint8_t, MinutesPerWeek>& Week() const { return week_; }

    // The boxes of the shown day and hour; a value the settings file held beyond 2 shows as
    // hidden, which is how the clock treats it.
    MinuteStates ShownMinutes() const;
    void StoreShownMinutes(const MinuteStates& boxes);
    // Keeps the boxes at the hour they belong to, then shows another day and hour and returns
    // its boxes.
    MinuteStates Switch(int day, int hour, const MinuteStates& boxes);
    // The given minutes of the shown hour take one state (a change made to a selection).
    void StoreMinutes(std::span<const int> minutes, uint8_t state);
    void ApplyPreset(VisibleHoursPreset preset);

    // The temporary-showing fields matter only while some minute of the week is grey.
    bool TemporaryShowingUsed() const;

private:
    size_t ShownIndex() const;

    std::array<uint8_t, MinutesPerWeek> week_ = ViewSettings::AllMinutesVisible();
    int day_ = 0;
    int hour_ = 0;
};

} // namespace lumora
