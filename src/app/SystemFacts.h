#pragma once
// What the settings need to know of the running system, read once at start.

#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

namespace lumora {

SystemDefaults ReadSystemDefaults();
wchar_t ReadDecimalSeparator();
SystemColourTable ReadSystemColours();
bool LayeredWindowsSupported();

} // namespace lumora
