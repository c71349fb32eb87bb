#pragma once
// The display monitors in the order the system lists them, and the DPI of a window.

#include <windows.h>

#include <vector>

namespace lumora {

struct MonitorArea {
    RECT Bounds{};
    RECT Work{};
};

std::vector<MonitorArea> EnumerateMonitors();

// The DPI a window is drawn at: its monitor's where the system tells it, else the screen's.
int WindowDpi(HWND window);
// The DPI of the monitor at a point of the screen (where a menu opens), else the screen's.
int MonitorDpiAt(POINT point);
// The system's font of menus (bold: the default item's) for a monitor of that DPI.
LOGFONTW MenuFontAt(int dpi, bool bold);

} // namespace lumora
