#include "shell/ScreenGeometry.h"

#include <algorithm>
#include <cstdint>

namespace lumora {
namespace {

// 64 bits: a window rectangle from a hostile placement must not overflow the sums.
int64_t ClampAxis(int64_t start, int64_t size, int64_t low, int64_t high) {
    if (start + size > high) {
        start = high - size;
    }
    return std::max(start, low);
}

} // namespace

ScreenPoint ClampIntoWorkArea(const ScreenRect& window, const ScreenRect& workArea) {
    const int64_t width = int64_t{window.Right} - window.Left;
    const int64_t height = int64_t{window.Bottom} - window.Top;
    // Both results lie between an edge of the work area and the window's own position.
    return {static_cast<int>(ClampAxis(window.Left, width, workArea.Left, workArea.Right)),
            static_cast<int>(ClampAxis(window.Top, height, workArea.Top, workArea.Bottom))};
}

ScreenPoint CalendarCorner(const ScreenRect& workArea, int screenWidth, int screenHeight, const ScreenRect& tray,
                           int width, int height) {
    const int left = tray.Left > screenWidth / 2 ? workArea.Right - width : workArea.Left;
    const int top = tray.Top > screenHeight / 2 ? workArea.Bottom - height : workArea.Top;
    return {left, top};
}

} // namespace lumora
