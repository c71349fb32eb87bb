#pragma once
// What the settings need to know of the running system, read once at start.

#include "clock/DateTimeFormat.h"
#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

namespace lumora {

SystemDefaults ReadSystemDefaults();
wchar_t ReadDecimalSeparator();
SystemColourTable ReadSystemColours();
bool LayeredWindowsSupported();
// Names, patterns and separators of the user's locale, in the program's pattern letters.
LocaleFacts ReadLocaleFacts();

} // namespace lumora
