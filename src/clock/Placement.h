#pragma once
// Where the clock window goes: edge snapping while it moves, the corner actions, the first show,
// the stacking modes and the windows that may stay above it, and where its tooltip and popup menu
// appear. Screen facts come in as values; the window code applies the result.

#include "shell/ScreenGeometry.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace lumora {

// Holding Ctrl during a drag turns snapping the other way for that drag.
constexpr bool SnappingInEffect(bool snapWindow, bool ctrlDown) {
    return snapWindow != ctrlDown;
}

// The proposed top-left of a moving window of the given size, pulled to the snap lines of its
// monitor. Call it only while snapping is in effect.
ScreenPoint SnapPosition(ScreenPoint proposed, int width, int height, const ScreenRect& monitor,
                         const ScreenRect& workArea, bool taskbarVisible, const OperationSettings& operation);

// The saved position for the first show: with push-back snapping a window never starts beyond the
// left or top edge of the primary screen.
ScreenPoint FirstShowPosition(int left, int top, bool snapWindow, bool noProtrudeSnap);

enum class Corner { TopLeft, TopRight, BottomRight, BottomLeft };

// All four sides come from the work area: with the taskbar on the left or at the top, the monitor's
// own edge would put the clock underneath it.
ScreenPoint CornerPosition(Corner corner, int width, int height, const ScreenRect& workArea, bool snapWindow,
                           std::array<int32_t, 2> snapPoint);

// Window titles and class names compared as the system compares them, case ignored.
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b);

// An empty title means any title, an empty class name any class; a rule with both empty would
// match every window and so matches none.
bool IgnoreRuleMatches(const IgnoredWindow& rule, std::wstring_view title, std::wstring_view className);
bool AnyIgnoreRuleMatches(const std::vector<IgnoredWindow>& rules, std::wstring_view title,
                          std::wstring_view className);

enum class StackingMode { Normal = 0, InFront = 1, AlwaysInFront = 2, NotInFront = 3 };

StackingMode StackingModeFromSetting(int value);

struct TooltipShape {
    int Width = 0; // measured, border included
    int Height = 0;
    bool Balloon = false;
    int TailLeft = 0; // the balloon's two horizontal tail offsets
    int TailRight = 0;
    int TailHeight = 0;
};

struct TooltipPlacement {
    ScreenPoint Position;
    bool RightJustified = false; // the tooltip lies left of the cursor
    bool BottomLayout = false;   // the tooltip lies above the cursor

    bool operator==(const TooltipPlacement&) const = default;
};

// The hover tooltip below and right of the cursor, flipped to the left or above where it would
// leave the monitor. cursorHeight: SM_CYCURSOR.
TooltipPlacement PlaceTooltip(ScreenPoint cursor, const TooltipShape& tip, const ScreenRect& monitor, int cursorHeight);

ScreenPoint WindowCentre(const ScreenRect& window);

// WM_CONTEXTMENU carries (-1, -1) when the menu key or Shift+F10 raised it; the menu then opens at
// the middle of the clock. messagePoint must be read as signed coordinates.
ScreenPoint ContextMenuPoint(ScreenPoint messagePoint, const ScreenRect& window);

} // namespace lumora
