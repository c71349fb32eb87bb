#include "clock/Visibility.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int Key = 0x41;

struct Conditions {
    int entry = EntryShown;
    bool shown = false;
    bool forced = false;
    bool key = false; // held, momentary
    bool telop = false;
    bool mouseHidden = false;
};

VisibilityAction DecideWith(const Conditions& c, Visibility& v) {
    if (c.forced) {
        v.StartForcedShow();
    }
    if (c.mouseHidden) {
        MouseInput near;
        near.OnMouseHideType = OnMouseHideAway;
        near.Window = {0, 0, 10, 10};
        v.ApplyMouse(near);
    }
    v.KeyActive(c.key, Key, true);
    VisibilityInput input;
    input.Entry = c.entry;
    input.Shown = c.shown;
    input.ShownOnce = true;
    input.TelopShowing = c.telop;
    return v.Decide(input).Action;
}

TEST(Visibility, DecisionTable) {
    using enum VisibilityAction;
    struct Case {
        Conditions c;
        VisibilityAction action;
        bool shownByKey;
    } cases[] = {
        {{.entry = 1}, Show, false},
        {{.entry = 1, .shown = true}, None, false},
        {{.entry = 0}, None, false},
        {{.entry = 2}, None, false}, // temporary display only comes with the forced show
        {{.entry = 0, .shown = true}, RequestHide, false},
        {{.entry = 7, .shown = true}, RequestHide, false},
        {{.entry = 0, .forced = true}, Show, false},
        {{.entry = 0, .key = true}, Show, true},
        {{.entry = 1, .shown = true, .key = true}, RequestHide, false},
        {{.entry = 1, .key = true}, None, false},
        {{.entry = 1, .telop = true}, None, false},
        {{.entry = 0, .forced = true, .telop = true}, None, false},
        {{.entry = 0, .key = true, .telop = true}, Show, true},
        {{.entry = 1, .mouseHidden = true}, None, false},
        {{.entry = 0, .key = true, .mouseHidden = true}, Show, true},
    };
    for (const Case& t : cases) {
        Visibility v;
        const auto row = &t - cases;
        EXPECT_EQ(DecideWith(t.c, v), t.action) << "row " << row;
        EXPECT_EQ(v.ShownByKey(), t.shownByKey) << "row " << row;
    }
}

TEST(Visibility, ShowEffects) {
    Visibility v;
    VisibilityInput input;
    input.OnMouseHideType = OnMouseHole;
    input.HideTaskTrayClock = true;
    input.TaskbarClockWasVisible = true;
    const VisibilityDecision first = v.Decide(input);
    EXPECT_TRUE(first.FirstShow);
    EXPECT_EQ(first.ClickThrough, std::optional<bool>(true));
    EXPECT_TRUE(first.HideTaskbarClock);
    EXPECT_TRUE(first.NeedsUpdate);

    input.ShownOnce = true;
    input.OnMouseHideType = OnMouseNone;
    input.TaskbarClockWasVisible = false;
    const VisibilityDecision again = v.Decide(input);
    EXPECT_FALSE(again.FirstShow);
    EXPECT_EQ(again.ClickThrough, std::optional<bool>(false));
    EXPECT_FALSE(again.HideTaskbarClock);

    // Type 0 hides one pass after the request, and gives the taskbar its clock back.
    input.Entry = EntryHidden;
    input.Shown = true;
    input.TaskbarClockWasVisible = true;
    EXPECT_EQ(v.Decide(input).Action, VisibilityAction::RequestHide);
    v.CheckHideReady(AnimationNone, CellAnimation{});
    const VisibilityDecision hide = v.Decide(input);
    EXPECT_EQ(hide.Action, VisibilityAction::HideNow);
    EXPECT_TRUE(hide.RestoreTaskbarClock);
    EXPECT_FALSE(v.HideRequested());
    EXPECT_FALSE(v.HideReady());
}

TEST(Visibility, KeyEdges) {
    struct Case {
        bool momentary;
        int key;
        std::vector<bool> held;
        std::vector<bool> active;
    } cases[] = {
        {false, Key, {false, true, true, false, true, false}, {false, true, true, true, false, false}},
        {true, Key, {false, true, true, false, true}, {false, true, true, false, true}},
        {false, 0, {true, false, true}, {false, false, false}},
        {true, 0, {true}, {false}},
    };
    for (const Case& c : cases) {
        Visibility v;
        std::vector<bool> active;
        for (bool held : c.held) {
            active.push_back(v.KeyActive(held, c.key, c.momentary));
        }
        EXPECT_EQ(active, c.active) << "momentary " << c.momentary << " key " << c.key;
    }
    EXPECT_EQ(SplitShortcut(0x6041), (ShortcutKeys{0x41, true, true, false}));
    EXPECT_EQ(SplitShortcut(0x8070), (ShortcutKeys{0x70, false, false, true}));
}

TEST(Visibility, ForcedShowLastsAutoHideTimeSeconds) {
    Visibility v;
    v.StartForcedShow();
    int ticks = 1;
    while (!v.ForcedShowTick(10)) {
        ++ticks;
    }
    EXPECT_EQ(ticks, 1001); // 10 ms each
    EXPECT_EQ(v.ForcedShowCounter(), 0u);
    // A late tick neither counts nor starts another period.
    EXPECT_TRUE(v.ForcedShowTick(10));
    EXPECT_EQ(v.ForcedShowCounter(), 0u);
}

// One pass as the shell runs it: decide, text, cells, hide check.
struct Pass {
    Visibility v;
    CellAnimation cells;
    std::wstring previous = L" 9:59";
    AnimationSettings animation;
    VisibilityInput input;

    VisibilityAction Run() {
        const VisibilityAction action = v.Decide(input).Action;
        if (action == VisibilityAction::Show) {
            input.Shown = true;
        } else if (action == VisibilityAction::HideNow) {
            input.Shown = false;
        }
        const std::wstring text = v.HideTextWanted(animation.Type) ? std::wstring(5, L'<') : L" 9:59";
        cells.Begin(text, previous, false, animation, 36, 40);
        for (int k = 1; k <= cells.CellCount(); ++k) {
            cells.Step(k, animation.Type, animation.Speed, 36, 40);
        }
        previous = text;
        v.CheckHideReady(animation.Type, cells);
        return action;
    }
};

TEST(Visibility, AScheduledHideWaitsForTheDigits) {
    struct Case {
        int type;
        int passesUntilHidden; // including the pass that hides
    } cases[] = {
        {0, 2},  {1, 13},                   // 12 passes to shrink away from -36 in steps of 3
        {2, 15},                            // 14 passes to reach the middle of -40..40
        {3, 15}, {4, 15}, {5, 15}, {6, 15}, // the whole slide
        {7, 13}, {8, 13},
    };
    for (const Case& c : cases) {
        Pass pass;
        pass.animation.Type = c.type;
        pass.input.Shown = true;
        pass.input.ShownOnce = true;
        pass.input.Entry = EntryHidden;
        int passes = 1;
        while (pass.Run() != VisibilityAction::HideNow && passes < 100) {
            ++passes;
        }
        EXPECT_EQ(passes, c.passesUntilHidden) << "type " << c.type;
    }
}

TEST(Visibility, NewSettingsEndTheForcedShowAndLetAPendingHideComplete) {
    Pass pass;
    pass.animation.Type = 1;
    pass.input.Shown = true;
    pass.input.ShownOnce = true;
    pass.input.Entry = EntryHidden;
    ASSERT_EQ(pass.Run(), VisibilityAction::RequestHide);
    pass.v.Settle();
    EXPECT_EQ(pass.Run(), VisibilityAction::HideNow);

    Visibility forced;
    forced.StartForcedShow();
    forced.Settle();
    EXPECT_EQ(forced.ForcedShowCounter(), 0u);
}

TEST(Visibility, ComingBackDuringAHideRestoresTheDigits) {
    Pass pass;
    pass.animation.Type = AnimationHorizontalRotation;
    pass.input.Shown = true;
    pass.input.Entry = EntryHidden;
    pass.Run();
    EXPECT_TRUE(pass.v.HideTextWanted(pass.animation.Type));
    pass.input.Entry = EntryShown;
    EXPECT_EQ(pass.Run(), VisibilityAction::None);
    EXPECT_FALSE(pass.v.HideTextWanted(pass.animation.Type));
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(pass.Run(), VisibilityAction::None);
    }

    // A forced show cancels the pending hide as well.
    pass.input.Entry = EntryHidden;
    pass.Run();
    pass.v.StartForcedShow();
    EXPECT_FALSE(pass.v.HideRequested());
    EXPECT_EQ(pass.Run(), VisibilityAction::None);
    EXPECT_EQ(pass.previous, L" 9:59");
}

TEST(Visibility, TheAlternateKeyHidesAndShowsWithoutAnimation) {
    for (const int entry : {EntryShown, EntryHidden}) {
        Pass pass;
        pass.animation.Type = AnimationHorizontalRotation;
        pass.input.Entry = entry;
        pass.input.Shown = entry == EntryShown;
        auto press = [&] {
            pass.v.KeyActive(true, Key, false);
            const VisibilityAction action = pass.Run();
            pass.v.KeyActive(false, Key, false);
            return action;
        };
        if (entry == EntryHidden) {
            // Outside the visible hours the key brings the clock up first.
            EXPECT_EQ(press(), VisibilityAction::Show);
            EXPECT_TRUE(pass.v.ShownByKey());
        }
        // Gone on the next pass, the digits never blanked.
        EXPECT_EQ(press(), VisibilityAction::RequestHide) << entry;
        EXPECT_EQ(pass.previous, L" 9:59");
        EXPECT_EQ(pass.Run(), VisibilityAction::HideNow) << entry;
        if (entry == EntryShown) {
            EXPECT_EQ(press(), VisibilityAction::Show);
        }
    }
}

TEST(Visibility, NearMeansInsideTheGrownWindow) {
    const ScreenRect window{100, 200, 150, 230};
    struct Case {
        int x, y;
        bool near;
    } cases[] = {
        {95, 195, true},   {94, 210, false},  {120, 194, false}, {154, 234, true},
        {155, 210, false}, {120, 235, false}, {125, 215, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CursorNear({c.x, c.y}, window, 5), c.near) << c.x << "," << c.y;
    }
    EXPECT_FALSE(CursorNear({150, 215}, window, 0));
    EXPECT_TRUE(CursorNear({100, 200}, window, 0));
}

TEST(Visibility, HoleGeometry) {
    struct Case {
        int size;
        Hole hole;
    } cases[] = {
        {0, {{50, 40, 0, 0}, HoleShape::Rectangle}},       {1, {{50, 40, 1, 1}, HoleShape::Rectangle}},
        {2, {{49, 39, 2, 2}, HoleShape::Rectangle}},       {31, {{35, 25, 31, 31}, HoleShape::Ellipse}},
        {200, {{-50, -60, 200, 200}, HoleShape::Ellipse}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HoleAround({50, 40}, c.size), c.hole) << c.size;
    }
}

TEST(Visibility, TheHideTypeStepsAsideAndTheAbortKeyKeepsTheClock) {
    Visibility v;
    MouseInput mouse;
    mouse.OnMouseHideType = OnMouseHideAway;
    mouse.Threshold = 5;
    mouse.Window = {100, 200, 150, 230};
    auto at = [&](int x, bool shown, bool abort = false) {
        mouse.Cursor = {x, 210};
        mouse.Shown = shown;
        mouse.AbortKeyDown = abort;
        return v.ApplyMouse(mouse);
    };
    EXPECT_TRUE(at(97, true).HideNow);
    VisibilityInput input;
    input.ShownOnce = true;
    EXPECT_EQ(v.Decide(input).Action, VisibilityAction::None);
    EXPECT_FALSE(at(90, false).HideNow);
    EXPECT_EQ(v.Decide(input).Action, VisibilityAction::Show);

    // Ctrl held near the clock: it stays, and clicks reach it.
    EXPECT_EQ(at(120, true, true), MouseDecision{});
    // Pressed once it has gone, it brings the clock back.
    at(120, true);
    EXPECT_TRUE(v.MouseHidden());
    EXPECT_FALSE(at(120, false, true).HideNow);
    EXPECT_FALSE(v.MouseHidden());

    // Left hidden when the type changes, the clock must not stay away for good.
    at(120, true);
    mouse.OnMouseHideType = OnMouseNone;
    at(120, false);
    EXPECT_FALSE(v.MouseHidden());
}

TEST(Visibility, TheHoleFollowsTheCursorAndGoesWhenSuspended) {
    Visibility v;
    MouseInput mouse;
    mouse.OnMouseHideType = OnMouseHole;
    mouse.HoleSize = 31;
    mouse.Cursor = {120, 210};
    mouse.Window = {100, 200, 150, 230};
    mouse.Shown = true;
    mouse.BackGroundType = 1;
    const MouseDecision first = v.ApplyMouse(mouse);
    ASSERT_TRUE(first.DrawHole);
    EXPECT_EQ(first.DrawHole->Area, (Rect{5, -5, 31, 31}));
    EXPECT_TRUE(first.RestoreBrush);
    EXPECT_FALSE(v.ApplyMouse(mouse).DrawHole);
    mouse.NeedsUpdate = true; // the digits were painted over it
    EXPECT_TRUE(v.ApplyMouse(mouse).DrawHole);
    mouse.NeedsUpdate = false;
    mouse.Cursor = {121, 210};
    EXPECT_TRUE(v.ApplyMouse(mouse).DrawHole);

    mouse.Moving = true;
    MouseDecision removed;
    removed.RemoveHole = true;
    removed.NeedsUpdate = true;
    EXPECT_EQ(v.ApplyMouse(mouse), removed);
    EXPECT_EQ(v.ApplyMouse(mouse), MouseDecision{});
}

} // namespace
} // namespace lumora
