#pragma once
// Sizes and places of the overlays around the clock: the call sign in a lower corner, the logo in
// an upper one, the omake window in the upper corner away from the clock.

#include "clock/PixelBuffer.h"
#include "shell/ScreenGeometry.h"
#include "settings/Settings.h"

#include <string>

namespace lumora {

// "試験電波発射中" or the station's name (or "テレビ"), an empty line, and the call sign with
// "-DTV" or "-TV".
std::wstring CallSignText(const OmakeSettings& omake);

// The call sign's and the omake window's font cell height: a twentieth of the primary display.
int OverlayFontHeight(int primaryDisplayHeight);

// alignment 0 is the left corner, anything else the right one; 48 pixels in from side and bottom.
ScreenPoint CallSignPlace(const ScreenRect& monitor, int width, int height, int alignment);
// alignment as above; 5 pixels in from side and top.
ScreenPoint LogoPlace(const ScreenRect& monitor, int width, int height, int alignment);

// The logo's picture: at most 320 x 240, each side clamped on its own (a wide picture is
// squeezed, not scaled in proportion), and its clear colour.
constexpr int LogoMaxWidth = 320;
constexpr int LogoMaxHeight = 240;
struct LogoPicture {
    PixelBuffer Image;
    Colour Key = 0; // RGB
};
// monochrome: the file is a 1-bit picture; it shows as a light-grey silhouette on clear white.
// Any other picture is clear wherever it has the colour of its bottom-left pixel.
LogoPicture MakeLogoPicture(const PixelBuffer& decoded, bool monochrome);

// The omake window keeps to the side of the monitor away from the clock. Both its width and its
// place follow one test: a clock whose left edge is left of the monitor's centre has the window
// on the right.
bool OmakeOnRight(const ScreenRect& monitor, const ScreenRect& clock);
// Width for the text: the monitor less 32, or the room beside a clock wholly inside it less 32.
int OmakeTextWidth(const ScreenRect& monitor, const ScreenRect& clock);
// A measured text taller than half the monitor is cut there.
int OmakeTextHeight(int measuredHeight, const ScreenRect& monitor);
// 16 pixels in from the top and from the chosen side.
ScreenPoint OmakePlace(const ScreenRect& monitor, const ScreenRect& clock, int windowWidth);

} // namespace lumora
