#pragma once
// The world clock's rules: the zone list as the system's registry gives it, ordered from the
// westernmost zone to the easternmost, and what the dialog's choices store in the settings.

#include "clock/DateTimeFormat.h"
#include "settings/Settings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumora {

struct TimeZoneEntry {
    std::wstring KeyName; // the zone's key under the registry's zone list
    std::wstring Display; // its display name
    int32_t Bias = 0;     // minutes: UTC = local time of the zone + Bias
};

constexpr wchar_t NoZoneCaption[] = L"(指定しない)";

// The bias of a zone's "TZI" value: only a binary value holding the whole record counts, and a
// bias beyond a day is no bias; otherwise none (the zone then counts as UTC).
std::optional<int32_t> BiasFromTzi(bool binary, std::span<const uint8_t> value);

// Greatest bias first: from UTC-12 to UTC+14. Zones of equal bias keep their order.
std::vector<TimeZoneEntry> OrderedZones(std::vector<TimeZoneEntry> zones);

// One zone as its key gives it; none when the key cannot be opened.
using ZoneReader = std::function<std::optional<TimeZoneEntry>(const std::wstring& keyName)>;
// The zones under the listed key names, west to east; a key that cannot be opened is left out.
std::vector<TimeZoneEntry> ReadZoneList(std::span<const std::wstring> keyNames, const ZoneReader& read);

// The list position of the stored zone, counting "(指定しない)" as 0: the key name when the list
// has it, else the stored position when it is in range, else 0.
int StoredZoneIndex(const WorldClockSettings& settings, const std::vector<TimeZoneEntry>& zones);

// The shift tab: a time of day forward, or back.
void ApplyShift(WorldClockSettings& settings, double timeOfDay, bool back);
// The zone tab: index 0 is no zone (the never-date), index i the zone i - 1 of the list.
void ApplyZone(WorldClockSettings& settings, int index, const std::vector<TimeZoneEntry>& zones);

// The previews, one time a line in the pattern "hh\"時\" mm\"分\" ss\"秒\"": an empty line, the
// system time, the shown time; and UTC, the system time, the shown time.
std::wstring ShiftPreview(double now, double shift, const LocaleFacts& locale);
std::wstring ZonePreview(double now, int biasMinutes, const WorldClockSettings& settings, const LocaleFacts& locale);

} // namespace lumora
