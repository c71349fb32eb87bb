#pragma once
// Values computed from the settings after loading and after every Apply; never stored.

#include "settings/Settings.h"

#include <array>
#include <string>

namespace lumora {

// The current RGB value of each Windows system colour, by index.
using SystemColourTable = std::array<Colour, 31>;

// A system colour resolved to its current RGB value; other colours as they are.
Colour ResolveColour(Colour colour, const SystemColourTable& system);

// The display pattern of the clock from the Format keys, e.g. "h:nn" or "hh:nn;ss".
std::wstring BuildTimeFormat(const FormatSettings& format);

// The clock window colour that stands for transparent.
Colour ChooseClockKeyColour(const DesignSettings& design, const SystemColourTable& system);

// The second key colour, used for the mouse hole.
Colour ChooseHoleColour(const DesignSettings& design, const SystemColourTable& system);

struct DerivedSettings {
    std::wstring TimeFormat;
    Colour ClockKeyColour = 0;
    Colour HoleColour = 0;
};

DerivedSettings DeriveSettings(const Settings& settings, const SystemColourTable& system);

} // namespace lumora
