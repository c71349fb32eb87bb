#pragma once
// The colour boxes of the options pages: owner-drawn drop-down lists (CBS_DROPDOWNLIST |
// CBS_OWNERDRAWFIXED | CBS_HASSTRINGS) of the standard colours, the system colours and a last
// entry "カスタム..." that opens the colour dialog. A colour chosen there, or a stored colour
// that has no entry, shows as an extra entry just before "カスタム...".

#include "options/OptionPageView.h"

namespace lumora {

// Fills the box and sizes its entries to the box's font; once, when the page is prepared.
void PrepareColourBox(PageControls& page, int id);

void ExchangeColour(PageControls& page, int id, Colour& colour);

// CBN_SELCHANGE of a colour box: choosing "カスタム..." opens the colour dialog from the colour
// the box showed before; OK takes the picked colour, Cancel keeps the previous one. True when
// `colour` was set and the box is to be loaded again.
bool ColourBoxCommand(HWND page, int id, int code, Colour& colour, OptionActions& actions);

// WM_DRAWITEM of a colour box: a swatch and the entry's name, greyed while the box is disabled.
bool DrawColourBoxItem(const DRAWITEMSTRUCT& item);

} // namespace lumora
