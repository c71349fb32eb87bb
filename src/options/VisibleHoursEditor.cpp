#include "options/VisibleHoursEditor.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int DaysPerWeek = 7;
constexpr int HoursPerDay = 24;
constexpr int MinutesPerDay = HoursPerDay * MinutesPerHour;
constexpr uint8_t Hidden = 0;
constexpr uint8_t Shown = 1;
constexpr uint8_t Temporary = 2;
constexpr int Saturday = 5;

// "おまかせ": the clock stays up through the morning, comes up for a while at the top of each
// hour of the day, and on weekdays stays up over lunch and the early evening.
uint8_t BroadcastState(int day, int hour, int minute) {
    const bool weekend = day >= Saturday;
    const bool morning = hour >= 4 && hour <= 9;
    const bool meals = hour == 12 || hour == 13 || hour == 17 || hour == 18;
    const bool daytime = hour >= 10 && hour <= 19;
    if (morning || (meals && !weekend)) {
        return Shown;
    }
    if (daytime) {
        return minute == 0 ? Temporary : Hidden;
    }
    return Hidden;
}

} // namespace

uint8_t NextMinuteState(uint8_t state) {
    switch (state) {
    case Hidden:
        return Shown;
    case Shown:
        return Temporary;
    default:
        return Hidden;
    }
}

VisibleHoursEditor VisibleHoursEditor::Load(const Settings& settings) {
    VisibleHoursEditor editor;
    editor.week_ = settings.View.VisibleHours;
    return editor;
}

void VisibleHoursEditor::Apply(Settings& settings) const {
    settings.View.VisibleHours = week_;
}

size_t VisibleHoursEditor::ShownIndex() const {
    return static_cast<size_t>(day_ * MinutesPerDay + hour_ * MinutesPerHour);
}

MinuteStates VisibleHoursEditor::ShownMinutes() const {
    MinuteStates boxes{};
    for (size_t m = 0; m < boxes.size(); ++m) {
        const uint8_t value = week_[ShownIndex() + m];
        boxes[m] = value <= Temporary ? value : Hidden;
    }
    return boxes;
}

void VisibleHoursEditor::StoreShownMinutes(const MinuteStates& boxes) {
    std::copy(boxes.begin(), boxes.end(), week_.begin() + static_cast<ptrdiff_t>(ShownIndex()));
}

MinuteStates VisibleHoursEditor::Switch(int day, int hour, const MinuteStates& boxes) {
    StoreShownMinutes(boxes);
    day_ = std::clamp(day, 0, DaysPerWeek - 1);
    hour_ = std::clamp(hour, 0, HoursPerDay - 1);
    return ShownMinutes();
}

void VisibleHoursEditor::StoreMinutes(std::span<const int> minutes, uint8_t state) {
    for (const int minute : minutes) {
        if (minute >= 0 && minute < MinutesPerHour) {
            week_[ShownIndex() + static_cast<size_t>(minute)] = state;
        }
    }
}

void VisibleHoursEditor::ApplyPreset(VisibleHoursPreset preset) {
    const auto day = week_.begin() + static_cast<ptrdiff_t>(day_ * MinutesPerDay);
    switch (preset) {
    case VisibleHoursPreset::ShowWeek:
        week_.fill(Shown);
        break;
    case VisibleHoursPreset::TemporaryWeek:
        week_.fill(Temporary);
        break;
    case VisibleHoursPreset::HideWeek:
        week_.fill(Hidden);
        break;
    case VisibleHoursPreset::ShowDay:
        std::fill(day, day + MinutesPerDay, Shown);
        break;
    case VisibleHoursPreset::TemporaryDay:
        std::fill(day, day + MinutesPerDay, Temporary);
        break;
    case VisibleHoursPreset::HideDay:
        std::fill(day, day + MinutesPerDay, Hidden);
        break;
    case VisibleHoursPreset::Broadcast:
        for (size_t i = 0; i < week_.size(); ++i) {
            const int minuteOfWeek = static_cast<int>(i);
            week_[i] = BroadcastState(minuteOfWeek / MinutesPerDay, minuteOfWeek % MinutesPerDay / MinutesPerHour,
                                      minuteOfWeek % MinutesPerHour);
        }
        break;
    }
}

bool VisibleHoursEditor::TemporaryShowingUsed() const {
    return std::find(week_.begin(), week_.end(), Temporary) != week_.end();
}

} // namespace lumora
