#pragma once
// What the settings need to know of the running system, read once at start.

#include "clock/DateTimeFormat.h"
#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

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

} // namespace lumora
