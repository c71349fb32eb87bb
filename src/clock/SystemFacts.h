#pragma once
// What the program needs to know of the running system: read at start, refreshed by the master
// when the system says something changed, and handed to whoever needs it.

#include "clock/SystemRules.h"
#include "clock/DateTimeFormat.h"
#include "shell/ScreenGeometry.h"
#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

#include <vector>

namespace lumora {

SystemDefaults ReadSystemDefaults();
wchar_t ReadDecimalSeparator();
SystemColourTable ReadSystemColours();
// What this system's user32 offers: layered windows, and DrawTextW for Unicode text (the
// overlays' text helper falls back to the ANSI call without it).
struct UserInterfaceFeatures {
    bool LayeredWindows = false;
    using DrawTextWFunction = int(__stdcall*)(void* dc, const wchar_t* text, int length, void* rect, unsigned flags);
    DrawTextWFunction DrawTextW = nullptr;
};
UserInterfaceFeatures ReadUserInterfaceFeatures();
// Names, patterns and separators of the user's locale, in the program's pattern letters.
LocaleFacts ReadLocaleFacts();

struct SystemFacts {
    std::vector<ScreenRect> MonitorRects; // every monitor's bounds, in the system's order
    int ColourDepth = 32;                 // bits per pixel of the display
    int Dpi = 96;
    ScreenSize Screen;    // the primary screen when the face was last sized for it
    int TimeZoneBias = 0; // minutes: UTC = local time + bias
    LocaleFacts Locale;
    SystemColourTable Colours{};
    wchar_t DecimalSeparator = L'.';
};

SystemFacts ReadSystemFacts();
// Monitors, colour depth and dpi; the screen size is the caller's to take.
void ReadDisplayFacts(SystemFacts& facts);
ScreenSize ReadScreenSize();
int ReadTimeZoneBias();

} // namespace lumora
