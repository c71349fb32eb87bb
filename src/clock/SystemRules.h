#pragma once
// Decisions on what the system reports and offers: the time-zone bias in effect, whether a new
// screen size rebuilds an automatically sized face, how the date and time panel is started.

#include <functional>
#include <string>

namespace lumora {

struct ScreenSize {
    int Width = 0;
    int Height = 0;

    bool operator==(const ScreenSize&) const = default;
};

enum class TimeZoneState { Unknown, Standard, Daylight };

// Minutes to add to local time for UTC: the zone's bias plus the bias of the season in effect.
int TimeZoneBiasMinutes(int bias, int standardBias, int daylightBias, TimeZoneState state);

// A face drawn in a font of automatic size follows the screen, but only when both of its sides
// changed: a rotated or merely widened desktop keeps the face it has.
bool AutoSizedFaceFollows(int digitType, int digitFontSize, ScreenSize stored, ScreenSize reported);

// The command line that opens the date and time panel: rundll32 from the system folder, else
// from the Windows folder, else control.exe. exists says whether a file is there.
std::wstring TimeDateCommandLine(const std::wstring& systemFolder, const std::wstring& windowsFolder,
                                 const std::function<bool(const std::wstring&)>& exists);

} // namespace lumora
