#include "clock/CellAnimation.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

AnimationSettings Animation(int type, int speed, int flashColonType = 0) {
    AnimationSettings a;
    a.Type = type;
    a.Speed = speed;
    a.FlashColonType = flashColonType;
    return a;
}

// Passes a changed cell spends before its progress reaches the end of its range.
int PassesToEnd(int type, int speed, int w, int h) {
    CellAnimation cells;
    cells.Begin(L"2", L"1", false, Animation(type, speed), w, h);
    int passes = 0;
    while (true) {
        const CellProgress p = cells.Progress(1);
        if ((AnimatesAlongX(type) ? p.X : p.Y) >= ProgressEnd(type, w, h)) {
            return passes;
        }
        cells.Step(1, type, speed, w, h);
        ++passes;
    }
}

TEST(CellAnimation, PassesPerTransition) {
    struct Case {
        int type, speed, w, h, passes;
    } cases[] = {
        {1, 15, 36, 40, 24},                     // step 3 over -36..36
        {1, 0, 36, 40, 4},                       // step 19
        {7, 15, 36, 40, 12},                     // the fades run only the first half
        {3, 15, 36, 40, 14},                     // step 3 over -40..0
        {1, 15, 10, 40, 20},                     // step 1, no wait: (16 - 10) div 8 = 0
        {2, 15, 36, 10, 80},                     // step 1, every 4th pass: (16 - 10) div 2 = 3
        {3, 15, 36, 10, 70},                     // step 1, every 7th pass
        {1, -2, 36, 40, 4},                      // a speed below the range counts as 0 instead of dividing by zero
        {0, 15, 36, 40, 0},  {9, 15, 36, 40, 0}, // unknown types change at once
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PassesToEnd(c.type, c.speed, c.w, c.h), c.passes) << "type " << c.type << " speed " << c.speed;
    }
    EXPECT_EQ(AnimationStep(36, 15), 3);
    EXPECT_EQ(AnimationStep(36, 0), 19);
}

TEST(CellAnimation, DrawOperationsPerType) {
    const Rect cell{10, 5, 36, 40};
    const Rect whole{0, 0, 36, 40};
    auto op = [](int glyph, Rect d, Rect s, int alpha = 255) { return CellDrawOp{glyph, d, s, alpha}; };
    struct Case {
        int type;
        int32_t p;
        std::vector<CellDrawOp> ops;
    } cases[] = {
        {1, -36, {op(1, cell, whole)}},
        {1, -13, {op(1, {21, 5, 13, 40}, whole)}},
        {1, 0, {}},
        {1, 18, {op(2, {19, 5, 18, 40}, whole)}},
        {1, 36, {op(2, cell, whole)}},
        {2, -40, {op(1, cell, whole)}},
        {2, -15, {op(1, {10, 17, 36, 15}, whole)}},
        {2, 20, {op(2, {10, 15, 36, 20}, whole)}},
        {2, 40, {op(2, cell, whole)}},
        {3, -40, {op(1, cell, whole)}},
        {3, -10, {op(1, {10, 5, 36, 10}, {0, 30, 36, 10}), op(2, {10, 15, 36, 30}, {0, 0, 36, 30})}},
        {3, -1, {op(1, {10, 5, 36, 1}, {0, 39, 36, 1}), op(2, {10, 6, 36, 39}, {0, 0, 36, 39})}},
        {4, -10, {op(1, {10, 35, 36, 10}, {0, 0, 36, 10}), op(2, {10, 5, 36, 30}, {0, 10, 36, 30})}},
        {4, -20, {op(1, {10, 25, 36, 20}, {0, 0, 36, 20}), op(2, {10, 5, 36, 20}, {0, 20, 36, 20})}},
        {5, -10, {op(1, {10, 5, 36, 10}, whole), op(2, {10, 15, 36, 30}, whole)}},
        {6, -10, {op(1, {10, 35, 36, 10}, whole), op(2, {10, 5, 36, 30}, whole)}},
        {6, 0, {op(2, cell, whole)}},
        // Cross fade, q = 7.
        {7, -36, {op(1, cell, whole, 251), op(2, cell, whole, 4)}},
        {7, -18, {op(1, cell, whole, 125), op(2, cell, whole, 130)}},
        {7, -1, {op(1, cell, whole, 6), op(2, cell, whole, 249)}},
        // Cut fade, q = 14: out alone, a blank in the middle, then in alone.
        {8, -36, {op(1, cell, whole, 233)}},
        {8, -20, {op(1, cell, whole, 9)}},
        {8, -19, {}},
        {8, -18, {op(2, cell, whole, 4)}},
        {8, -1, {op(2, cell, whole, 242)}},
        {8, ProgressDone, {op(2, cell, whole)}},
        {0, -36, {op(2, cell, whole)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellDrawOps(c.type, L'1', L'2', c.p, cell), c.ops) << "type " << c.type << " p " << c.p;
    }
}

TEST(CellAnimation, AlphasWrapAndNarrowCellsDoNotDivideByZero) {
    // Wider than 255: q is 0, so the outgoing alpha wraps from -1 to 255.
    const Rect wide{0, 0, 300, 10};
    const std::vector<CellDrawOp> fade = CellDrawOps(7, L'1', L'2', -5, wide);
    ASSERT_EQ(fade.size(), 2u);
    EXPECT_EQ(fade[0].Alpha, 255);
    EXPECT_EQ(fade[1].Alpha, 0);
    EXPECT_TRUE(CellDrawOps(8, L'1', L'2', -1, {0, 0, 1, 10}).empty());
    EXPECT_EQ(CellDrawOps(7, L'1', L'2', 0, {0, 0, 0, 10}).size(), 0u);
}

TEST(CellAnimation, OnlyChangedCellsStartAndTheOutgoingIsThePreviousCharacter) {
    CellAnimation cells;
    cells.Begin(L" 9:59", L"", true, Animation(1, 15), 36, 40);
    for (int k = 1; k <= 5; ++k) {
        cells.Step(k, 1, 15, 36, 40);
    }
    cells.Begin(L"10:00", L" 9:59", false, Animation(1, 15), 36, 40);
    EXPECT_EQ(cells.CellCount(), 5);
    EXPECT_EQ(cells.Outgoing(1), L' ');
    EXPECT_EQ(cells.Progress(1), (CellProgress{-36, -40}));
    EXPECT_EQ(cells.Progress(3), CellProgress{}); // the colon stays
    cells.Begin(L"10:00;00", L"10:00", false, Animation(1, 15), 36, 40);
    EXPECT_EQ(cells.CellCount(), 8);
    EXPECT_EQ(cells.Outgoing(7), 0);
    EXPECT_EQ(cells.Progress(7), (CellProgress{-36, -40}));
    cells.Begin(L"10:00;00", L"10:00;00", true, Animation(1, 15), 36, 40);
    EXPECT_EQ(cells.Progress(4), (CellProgress{36, 40}));
}

TEST(CellAnimation, ColonFlashNeverAnimates) {
    struct Case {
        const wchar_t* from;
        const wchar_t* to;
        int flashColonType;
        bool animates;
    } cases[] = {
        {L"2:05", L"2/05", 1, false}, {L"2/05", L"2:05", 1, false}, {L"2;05", L"2/05", 3, false},
        {L"2/05", L"2;05", 2, false}, {L"2:05", L"2/05", 0, true},  {L"2:05", L"2105", 1, true},
    };
    for (const Case& c : cases) {
        CellAnimation cells;
        cells.Begin(c.to, c.from, false, Animation(8, 15, c.flashColonType), 36, 40);
        EXPECT_EQ(cells.Progress(2).X < 0, c.animates) << c.from << " to " << c.to;
    }
}

} // namespace
} // namespace lumora
