#pragma once
// What the options dialog learns from the system when it opens: the font families of the
// screen (and which of them have Japanese glyphs), the serial ports of the machine's device
// tree, and the process's priority class.

#include "options/OptionValues.h"
#include "settings/SettingsLocation.h"

#include <windows.h>

namespace lumora {

// Every family of every character set, vertical variants ("@...") left out, sorted; with the
// Shift-JIS flag of each.
// ListFont is left to the dialog, whose own font it is.
FontChoices ReadFontChoices();

// The face a font really gets: "MS Shell Dlg" and the like only stand for one.
std::wstring RealFaceName(HFONT font);

struct SerialPorts {
    std::vector<std::wstring> Names; // "COM1" ..., upper case, sorted
    std::vector<std::wstring> Texts; // "COM1 (description)", parallel
};

// Ports of the devices whose service is "Serial" or whose class is "Ports". Keys that cannot be
// opened are skipped; any other failure gives no ports.
SerialPorts ReadSerialPorts();

// Everything the dialog learns of the system when it opens: fonts, serial ports, servers, the
// start-up shortcut, the settings folder, the process priority.
OptionFacts ReadOptionFacts(const DisplayFacts& display, const SettingsLocation& location, bool taskbarClockFound);

} // namespace lumora
