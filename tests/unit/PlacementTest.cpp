#include "clock/Placement.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumora {
namespace {

constexpr ScreenRect Monitor{0, 0, 1920, 1080};
constexpr ScreenRect WorkArea{0, 0, 1920, 1040}; // taskbar at the bottom
constexpr int Width = 200;
constexpr int Height = 60;

OperationSettings Snap(bool noProtrude, std::array<int32_t, 2> inset, int32_t mode = 1, int32_t threshold = 10) {
    OperationSettings o;
    o.NoProtrudeSnap = noProtrude;
    o.SnapPoint = inset;
    o.SnapMode = mode;
    o.SnapPosition = threshold;
    return o;
}

TEST(Placement, Snapping) {
    struct Row {
        const char* what;
        OperationSettings operation;
        bool taskbarVisible;
        ScreenPoint proposed;
        ScreenPoint expected;
    };
    constexpr int Max = std::numeric_limits<int>::max();
    const Row rows[] = {
        {"push-back pulls a window beyond the left edge in", Snap(true, {0, 0}), true, {-50, 500}, {0, 500}},
        {"without push-back a window well beyond stays", Snap(false, {0, 0}), true, {-50, 500}, {-50, 500}},
        {"without push-back, just beyond snaps", Snap(false, {0, 0}), true, {-10, 500}, {0, 500}},
        {"without push-back, just inside snaps", Snap(false, {0, 0}), true, {10, 500}, {0, 500}},
        {"without push-back, one past the threshold stays", Snap(false, {0, 0}), true, {-11, 500}, {-11, 500}},
        {"inset line plus threshold", Snap(true, {10, 10}), true, {20, 500}, {10, 500}},
        {"inset line plus threshold plus one", Snap(true, {10, 10}), true, {21, 500}, {21, 500}},
        {"right edge within threshold", Snap(true, {10, 10}), true, {1700, 500}, {1710, 500}},
        {"right edge short of threshold", Snap(true, {10, 10}), true, {1699, 500}, {1699, 500}},
        {"without push-back a window beyond the right stays", Snap(false, {10, 10}), true, {1721, 500}, {1721, 500}},
        {"without push-back, right within reach", Snap(false, {10, 10}), true, {1720, 500}, {1710, 500}},
        {"bottom snaps to the work area", Snap(true, {10, 10}), true, {500, 961}, {500, 970}},
        {"bottom short of threshold", Snap(true, {10, 10}), true, {500, 959}, {500, 959}},
        {"hidden taskbar: monitor bottom", Snap(true, {10, 10}), false, {500, 1000}, {500, 1010}},
        {"taskbar ignored: monitor bottom", Snap(true, {10, 10}, 0), true, {500, 1000}, {500, 1010}},
        {"both axes at once", Snap(true, {10, 10}), true, {-50, -50}, {10, 10}},
        {"left wins when the window cannot fit", Snap(true, {900, 10}), true, {300, 500}, {900, 500}},
        {"hostile settings do not overflow", Snap(true, {Max, Max}, 1, Max), true, {0, 0}, {Max, Max}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SnapPosition(r.proposed, Width, Height, Monitor, WorkArea, r.taskbarVisible, r.operation), r.expected)
            << r.what;
    }
}

TEST(Placement, CtrlInvertsSnapping) {
    EXPECT_TRUE(SnappingInEffect(true, false));
    EXPECT_FALSE(SnappingInEffect(true, true));
    EXPECT_TRUE(SnappingInEffect(false, true));
    EXPECT_FALSE(SnappingInEffect(false, false));
}

TEST(Placement, FirstShowPullsNegativeCoordinatesInOnlyWithPushBackSnapping) {
    EXPECT_EQ(FirstShowPosition(-5, -7, true, true), (ScreenPoint{0, 0}));
    EXPECT_EQ(FirstShowPosition(-5, -7, true, false), (ScreenPoint{-5, -7}));
    EXPECT_EQ(FirstShowPosition(-5, -7, false, true), (ScreenPoint{-5, -7}));
}

TEST(Placement, Corners) {
    struct Row {
        Corner corner;
        bool snap;
        ScreenRect workArea;
        ScreenPoint expected;
    };
    const ScreenRect leftTaskbar{60, 0, 1920, 1080};
    const Row rows[] = {
        {Corner::TopLeft, true, WorkArea, {10, 10}},         {Corner::TopRight, true, WorkArea, {1710, 10}},
        {Corner::BottomRight, true, WorkArea, {1710, 970}},  {Corner::BottomLeft, true, WorkArea, {10, 970}},
        {Corner::TopLeft, false, WorkArea, {0, 0}},          {Corner::TopRight, false, WorkArea, {1720, 0}},
        {Corner::BottomRight, false, WorkArea, {1720, 980}}, {Corner::BottomLeft, false, WorkArea, {0, 980}},
        {Corner::TopLeft, true, leftTaskbar, {70, 10}},      {Corner::BottomLeft, false, leftTaskbar, {60, 1020}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CornerPosition(r.corner, Width, Height, r.workArea, r.snap, {10, 10}), r.expected)
            << static_cast<int>(r.corner) << " snap " << r.snap << " work area left " << r.workArea.Left;
    }
}

TEST(Placement, IgnoreRules) {
    struct Row {
        const char* what;
        IgnoredWindow rule;
        const wchar_t* title;
        const wchar_t* className;
        bool matches;
    };
    const Row rows[] = {
        {"title only", {L"Game", L""}, L"Game", L"AnyClass", true},
        {"title only, case", {L"game", L""}, L"GAME", L"AnyClass", true},
        {"title only, untitled window", {L"Game", L""}, L"", L"AnyClass", false},
        {"class only", {L"", L"UnityWndClass"}, L"Whatever", L"UnityWndClass", true},
        {"class only, case", {L"", L"unitywndclass"}, L"", L"UnityWndClass", true},
        {"both", {L"Game", L"Cls"}, L"game", L"CLS", true},
        {"both, title differs", {L"Game", L"Cls"}, L"Other", L"Cls", false},
        {"neither matches nothing", {L"", L""}, L"", L"", false},
        {"full-width letters", {L"ＧＡＭＥ", L""}, L"ｇａｍｅ", L"C", true},
        {"Cyrillic and Latin-1", {L"ИГРА É", L""}, L"игра é", L"C", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(IgnoreRuleMatches(r.rule, r.title, r.className), r.matches) << r.what;
    }
}

TEST(Placement, AnyIgnoreRule) {
    const std::vector<IgnoredWindow> rules{{L"", L""}, {L"Game", L""}, {L"", L"Cls"}};
    EXPECT_TRUE(AnyIgnoreRuleMatches(rules, L"Other", L"cls"));
    EXPECT_FALSE(AnyIgnoreRuleMatches(rules, L"Other", L"Other"));
    EXPECT_FALSE(AnyIgnoreRuleMatches({}, L"Game", L"Cls"));
}

TEST(Placement, StackingModeOutOfRangeIsNormal) {
    EXPECT_EQ(StackingModeFromSetting(4), StackingMode::Normal);
    EXPECT_EQ(StackingModeFromSetting(-1), StackingMode::Normal);
}

TEST(Placement, Tooltip) {
    struct Row {
        const char* what;
        ScreenPoint cursor;
        bool balloon;
        TooltipPlacement expected;
    };
    // Rectangle 150 x 40; balloon 150 x 60 with tails 10 + 20 across and 12 high; cursor 32 high.
    const Row rows[] = {
        {"room everywhere", {500, 500}, false, {{500, 532}, false, false}},
        {"balloon, room everywhere", {500, 500}, true, {{500, 520}, false, false}},
        {"right edge exactly reached", {1770, 500}, false, {{1770, 532}, false, false}},
        {"past the right edge", {1771, 500}, false, {{1621, 532}, true, false}},
        {"balloon past the right edge", {1800, 500}, true, {{1680, 520}, true, false}},
        {"bottom exactly reached", {500, 1008}, false, {{500, 1040}, false, false}},
        {"a cursor height short of the bottom", {500, 1020}, false, {{500, 948}, false, true}},
        {"balloon near the bottom", {500, 1030}, true, {{500, 950}, false, true}},
        {"bottom-right corner", {1900, 1070}, false, {{1750, 998}, true, true}},
    };
    for (const Row& r : rows) {
        const TooltipShape tip = r.balloon ? TooltipShape{150, 60, true, 10, 20, 12} : TooltipShape{150, 40};
        EXPECT_EQ(PlaceTooltip(r.cursor, tip, Monitor, 32), r.expected) << r.what;
    }
}

TEST(Placement, ContextMenuPoint) {
    const ScreenRect window{100, 200, 301, 260};
    EXPECT_EQ(ContextMenuPoint({-1, -1}, window), (ScreenPoint{200, 230})) << "keyboard";
    EXPECT_EQ(ContextMenuPoint({150, 210}, window), (ScreenPoint{150, 210}));
    EXPECT_EQ(ContextMenuPoint({-300, 400}, window), (ScreenPoint{-300, 400})) << "click on a monitor to the left";
    EXPECT_EQ(ContextMenuPoint({-1, 400}, window), (ScreenPoint{-1, 400}));
}

} // namespace
} // namespace lumora
