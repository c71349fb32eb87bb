#include "tools/WorldClockModel.h"

#include "clock/DateTime.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr size_t TziRecordSize = 44; // REG_TZI_FORMAT: three biases and two SYSTEMTIMEs
constexpr int32_t MinutesPerDay = 24 * 60;
constexpr wchar_t PreviewPattern[] = L"hh\"時\" nn\"分\" ss\"秒\"";

std::wstring Preview(double time, const LocaleFacts& locale) {
    return FormatDateTime(PreviewPattern, time, locale);
}

} // namespace

std::optional<int32_t> BiasFromTzi(bool binary, std::span<const uint8_t> value) {
    if (!binary || value.size() < TziRecordSize) {
        return std::nullopt;
    }
    const auto bias = static_cast<int32_t>(uint32_t(value[0]) | uint32_t(value[1]) << 8 | uint32_t(value[2]) << 16 |
                                           uint32_t(value[3]) << 24);
    if (bias <= -MinutesPerDay || bias >= MinutesPerDay) {
        return std::nullopt;
    }
    return bias;
}

std::vector<TimeZoneEntry> OrderedZones(std::vector<TimeZoneEntry> zones) {
    std::stable_sort(zones.begin(), zones.end(),
                     [](const TimeZoneEntry& a, const TimeZoneEntry& b) { return a.Bias > b.Bias; });
    return zones;
}

std::vector<TimeZoneEntry> ReadZoneList(std::span<const std::wstring> keyNames, const ZoneReader& read) {
    std::vector<TimeZoneEntry> zones;
    for (const std::wstring& name : keyNames) {
        if (std::optional<TimeZoneEntry> zone = read(name)) {
            zones.push_back(std::move(*zone));
        }
    }
    return OrderedZones(std::move(zones));
}

int StoredZoneIndex(const WorldClockSettings& settings, const std::vector<TimeZoneEntry>& zones) {
    if (!settings.TimeZoneName.empty()) {
        const auto named = std::find_if(zones.begin(), zones.end(), [&settings](const TimeZoneEntry& zone) {
            return zone.KeyName == settings.TimeZoneName;
        });
        if (named != zones.end()) {
            return static_cast<int>(named - zones.begin()) + 1;
        }
    }
    return settings.TimeZone >= 0 && settings.TimeZone <= static_cast<int>(zones.size()) ? settings.TimeZone : 0;
}

void ApplyShift(WorldClockSettings& settings, double timeOfDay, bool back) {
    const double time = timeOfDay - std::floor(timeOfDay);
    settings.WorldClockMode = false;
    settings.TimeDiffTime = back ? -time : time;
}

void ApplyZone(WorldClockSettings& settings, int index, const std::vector<TimeZoneEntry>& zones) {
    settings.WorldClockMode = true;
    if (index <= 0 || index > static_cast<int>(zones.size())) {
        settings.TimeZone = 0;
        settings.TimeZoneName.clear();
        settings.WorldClockTime = NeverDate;
        return;
    }
    const TimeZoneEntry& zone = zones[static_cast<size_t>(index - 1)];
    settings.TimeZone = index;
    settings.TimeZoneName = zone.KeyName;
    settings.WorldClockTime = -static_cast<double>(zone.Bias) / MinutesPerDay;
}

std::wstring ShiftPreview(double now, double shift, const LocaleFacts& locale) {
    return L"\r\n" + Preview(now, locale) + L"\r\n" + Preview(now + shift, locale);
}

std::wstring ZonePreview(double now, int biasMinutes, const WorldClockSettings& settings, const LocaleFacts& locale) {
    const double utc = now + static_cast<double>(biasMinutes) / MinutesPerDay;
    const double shown = settings.WorldClockTime != NeverDate ? utc + settings.WorldClockTime : now;
    return Preview(utc, locale) + L"\r\n" + Preview(now, locale) + L"\r\n" + Preview(shown, locale);
}

} // namespace lumora
