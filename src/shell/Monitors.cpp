#include "shell/Monitors.h"

#include "shell/DpiScale.h"
#include "shell/GdiObjects.h"

namespace lumora {
namespace {

int ScreenDpi() {
    const WindowDC dc(nullptr);
    return UsableDpi(GetDeviceCaps(dc.Get(), LOGPIXELSY));
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back({info.rcMonitor, info.rcWork});
    }
    return TRUE;
}

} // namespace

std::vector<MonitorArea> EnumerateMonitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    const WindowDC dc(window);
    return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

// Monitors of their own DPI came with Windows 8.1; before, every monitor has the screen's.
int MonitorDpiAt(POINT point) {
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = [] {
        const HMODULE library = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return library != nullptr ? reinterpret_cast<GetDpiForMonitorFunction>(
                                        reinterpret_cast<void*>(GetProcAddress(library, "GetDpiForMonitor")))
                                  : nullptr;
    }();
    constexpr int effectiveDpi = 0;
    UINT x = 0, y = 0;
    if (getDpi != nullptr &&
        SUCCEEDED(getDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), effectiveDpi, &x, &y)) && y != 0) {
        return static_cast<int>(y);
    }
    return ScreenDpi();
}

LOGFONTW MenuFontAt(int dpi, bool bold) {
    using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ParametersForDpiFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
        font = metrics.lfMenuFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        // At the screen's DPI, the one the program started with.
        font = metrics.lfMenuFont;
        font.lfHeight = ScaleBetweenDpi(font.lfHeight, dpi, ScreenDpi());
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        font.lfHeight = ScaleBetweenDpi(font.lfHeight, dpi, ScreenDpi());
    }
    if (bold) {
        font.lfWeight = FW_BOLD;
    }
    return font;
}

} // namespace lumora
