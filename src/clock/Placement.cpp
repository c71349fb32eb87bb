#include "clock/Placement.h"

#include <algorithm>
#include <limits>

namespace lumora {

namespace {

// Snap distances and insets come from the settings file and may be anything; the sums are taken
// wide so that no value overflows, and the result is brought back into the screen's range.
int ToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// One axis of the snap: low and high are the snap lines, pos the window's near edge, size its extent.
int64_t SnapAxis(int64_t pos, int64_t size, int64_t low, int64_t high, int64_t threshold, bool noProtrude) {
    if (noProtrude) {
        if (pos <= low + threshold) {
            return low;
        }
        if (pos + size >= high - threshold) {
            return high - size;
        }
        return pos;
    }
    if (low - threshold <= pos && pos <= low + threshold) {
        return low;
    }
    if (high - threshold <= pos + size && pos + size <= high + threshold) {
        return high - size;
    }
    return pos;
}

// Window titles and class names are compared as the system's case-insensitive comparison would for
// the scripts a title is likely to carry: Latin, Greek, Cyrillic and the full-width Latin letters of
// Japanese titles.
wchar_t FoldCase(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    const auto shifted = [c](int by) { return static_cast<wchar_t>(c + by); };
    if ((u >= L'A' && u <= L'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7) || (u >= 0x391 && u <= 0x3AB && u != 0x3A2) ||
        (u >= 0x410 && u <= 0x42F) || (u >= 0xFF21 && u <= 0xFF3A)) {
        return shifted(0x20);
    }
    if (u >= 0x400 && u <= 0x40F) {
        return shifted(0x50);
    }
    // Latin Extended-A pairs its letters upper then lower, with the parity changing twice.
    // The Turkish dotted capital I has no partner in the pairs.
    if ((u >= 0x100 && u <= 0x137 && u != 0x130) || (u >= 0x14A && u <= 0x177)) {
        return (u % 2 == 0) ? shifted(1) : c;
    }
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) {
        return (u % 2 == 1) ? shifted(1) : c;
    }
    if (u == 0x178) {
        return static_cast<wchar_t>(0xFF);
    }
    return c;
}

} // namespace

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

ScreenPoint SnapPosition(ScreenPoint proposed, int width, int height, const ScreenRect& monitor,
                         const ScreenRect& workArea, bool taskbarVisible, const OperationSettings& operation) {
    // An auto-hidden taskbar leaves the work area at its full-screen size minus a sliver; the
    // monitor edges are where the user sees them then.
    const ScreenRect& ref = (operation.SnapMode == 1 && taskbarVisible) ? workArea : monitor;
    const int64_t insetX = operation.SnapPoint[0];
    const int64_t insetY = operation.SnapPoint[1];
    const int64_t threshold = operation.SnapPosition;
    const int64_t x = SnapAxis(proposed.X, width, int64_t{ref.Left} + insetX, int64_t{ref.Right} - insetX, threshold,
                               operation.NoProtrudeSnap);
    const int64_t y = SnapAxis(proposed.Y, height, int64_t{ref.Top} + insetY, int64_t{ref.Bottom} - insetY, threshold,
                               operation.NoProtrudeSnap);
    return {ToInt(x), ToInt(y)};
}

ScreenPoint FirstShowPosition(int left, int top, bool snapWindow, bool noProtrudeSnap) {
    if (snapWindow && noProtrudeSnap) {
        return {std::max(left, 0), std::max(top, 0)};
    }
    return {left, top};
}

ScreenPoint CornerPosition(Corner corner, int width, int height, const ScreenRect& workArea, bool snapWindow,
                           std::array<int32_t, 2> snapPoint) {
    const int64_t sx = snapWindow ? snapPoint[0] : 0;
    const int64_t sy = snapWindow ? snapPoint[1] : 0;
    const int64_t left = int64_t{workArea.Left} + sx;
    const int64_t top = int64_t{workArea.Top} + sy;
    const int64_t right = int64_t{workArea.Right} - width - sx;
    const int64_t bottom = int64_t{workArea.Bottom} - height - sy;
    switch (corner) {
    case Corner::TopLeft:
        return {ToInt(left), ToInt(top)};
    case Corner::TopRight:
        return {ToInt(right), ToInt(top)};
    case Corner::BottomRight:
        return {ToInt(right), ToInt(bottom)};
    case Corner::BottomLeft:
        return {ToInt(left), ToInt(bottom)};
    }
    return {ToInt(left), ToInt(top)};
}

bool IgnoreRuleMatches(const IgnoredWindow& rule, std::wstring_view title, std::wstring_view className) {
    if (rule.Title.empty() && rule.ClassName.empty()) {
        return false;
    }
    const bool titleMatches = rule.Title.empty() || SameIgnoringCase(rule.Title, title);
    const bool classMatches = rule.ClassName.empty() || SameIgnoringCase(rule.ClassName, className);
    return titleMatches && classMatches;
}

bool AnyIgnoreRuleMatches(const std::vector<IgnoredWindow>& rules, std::wstring_view title,
                          std::wstring_view className) {
    return std::ranges::any_of(rules,
                               [&](const IgnoredWindow& rule) { return IgnoreRuleMatches(rule, title, className); });
}

StackingMode StackingModeFromSetting(int value) {
    switch (value) {
    case 1:
        return StackingMode::InFront;
    case 2:
        return StackingMode::AlwaysInFront;
    case 3:
        return StackingMode::NotInFront;
    default:
        return StackingMode::Normal;
    }
}

TooltipPlacement PlaceTooltip(ScreenPoint cursor, const TooltipShape& tip, const ScreenRect& monitor,
                              int cursorHeight) {
    TooltipPlacement placed;
    int64_t x = cursor.X;
    if (x + tip.Width > monitor.Right) {
        placed.RightJustified = true;
        x -= tip.Width;
        if (tip.Balloon) {
            x += int64_t{tip.TailLeft} + tip.TailRight;
        }
    }
    // The test is made where the tooltip would really go, below the cursor image; tested at the
    // cursor itself, a tooltip just above the bottom edge would be cut off by the cursor's height.
    int64_t y = int64_t{cursor.Y} + cursorHeight - (tip.Balloon ? tip.TailHeight : 0);
    if (y + tip.Height > monitor.Bottom) {
        placed.BottomLayout = true;
        y = int64_t{cursor.Y} - tip.Height - cursorHeight + (tip.Balloon ? tip.TailHeight : 0);
    }
    placed.Position = {ToInt(x), ToInt(y)};
    return placed;
}

ScreenPoint WindowCentre(const ScreenRect& window) {
    return {ToInt((int64_t{window.Left} + window.Right) / 2), ToInt((int64_t{window.Top} + window.Bottom) / 2)};
}

ScreenPoint ContextMenuPoint(ScreenPoint messagePoint, const ScreenRect& window) {
    // Any other negative point is a real click on a monitor left of or above the primary one.
    if (messagePoint.X == -1 && messagePoint.Y == -1) {
        return WindowCentre(window);
    }
    return messagePoint;
}

} // namespace lumora
