#pragma once
// Points and rectangles on the screen, without the Win32 types.

namespace lumora {

struct ScreenPoint {
    int X = 0;
    int Y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// Right and bottom exclusive, like RECT.
struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

} // namespace lumora
