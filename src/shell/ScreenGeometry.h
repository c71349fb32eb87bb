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

// The top-left that brings a window inside the work area. The right and bottom edges are pulled
// back first, then the left and top, so a window larger than the work area keeps its title bar
// at the work area's top-left corner, in reach.
ScreenPoint ClampIntoWorkArea(const ScreenRect& window, const ScreenRect& workArea);

// Where the calendar opens: the corner of the work area next to the notification area, whose
// window is tray (on the right when it lies beyond half the screen's width, at the bottom when
// beyond half its height).
ScreenPoint CalendarCorner(const ScreenRect& workArea, int screenWidth, int screenHeight, const ScreenRect& tray,
                           int width, int height);

} // namespace lumora
