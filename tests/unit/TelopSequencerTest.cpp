#include "overlays/TelopSequencer.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumora {
namespace {

constexpr int Hidden = -1;
constexpr int Closed = -2;
constexpr int Whole = -1;

// What is on screen at a moment: a line (drawn whole or with some characters typed), or nothing.
struct Sample {
    int64_t at;
    int line;
    int typed = Whole;
};

TelopSettings With(const std::function<void(TelopSettings&)>& change) {
    TelopSettings s;
    change(s);
    return s;
}

void ExpectTimeline(const char* name, const TelopSettings& settings, const std::vector<size_t>& counts,
                    const std::vector<Sample>& samples) {
    TelopSequencer sequencer(counts, settings, 0);
    for (const Sample& s : samples) {
        sequencer.AdvanceTo(s.at);
        const TelopFrame& f = sequencer.Frame();
        const int line = f.Closed ? Closed : f.Visible ? static_cast<int>(f.Line) : Hidden;
        EXPECT_EQ(line, s.line) << name << " at " << s.at;
        if (f.Visible) {
            EXPECT_EQ(f.Typing ? static_cast<int>(f.Typed) : Whole, s.typed) << name << " at " << s.at;
        }
    }
}

TEST(TelopSequencer, LinesFollowTheirTimeline) {
    const TelopSettings fast = With([](auto& s) {
        s.Scroll = true;
        s.ChangeSpeed = 1000;
        s.ScrollSpeed = 100;
    });
    const TelopSettings fastFlashing = With([&](auto& s) {
        s = fast;
        s.Flash = true;
    });
    // clang-format off
    ExpectTimeline("plain lines", TelopSettings{}, {5, 5, 5},
                   {{0, 0}, {3999, 0}, {4000, 1}, {8000, 2}, {11999, 2}, {12000, Hidden}, {15999, Hidden},
                    {16000, 0}, {20000, 1}, {24000, 2}, {27999, 2}, {28000, Closed}});
    ExpectTimeline("flashing title", With([](auto& s) { s.Flash = true; }), {5, 5, 5},
                   {{0, 0}, {1749, 0}, {1750, Hidden}, {2100, 0}, {2450, Hidden}, {4200, 0}, {4550, Hidden},
                    {4899, Hidden}, {4900, 1}});
    ExpectTimeline("typed line", fast, {4, 3, 4},
                   {{999, 0}, {1000, 1, 1}, {1199, 1, 1}, {1200, 1, 2}, {1300, 1, 3}, {2299, 1, 3}, {2300, 2},
                    {3299, 2}, {3300, Hidden}, {4300, 0}, {7599, 2}, {7600, Closed}});
    ExpectTimeline("two typed lines", fast, {1, 2, 1, 1},
                   {{1100, 1, 1}, {1200, 1, 2}, {2199, 1, 2}, {2200, 2, 1}, {3199, 2, 1}, {3200, 3}, {4200, Hidden}});
    ExpectTimeline("typed after flashing", fastFlashing, {1, 2, 1},
                   {{4550, Hidden}, {4900, Hidden}, {5000, 1, 1}, {5100, 1, 2}});
    ExpectTimeline("single line", fast, {3}, {{999, 0}, {1000, Hidden}, {2000, 0}, {2999, 0}, {3000, Closed}});
    // clang-format on
}

// The caption puts itself on top at every flash step that shows it and at every new line, also
// when it shows already; a typed character only when the caption was hidden.
TEST(TelopSequencer, ShowsAtEveryFlashStepAndLineAndNotAtEveryTypedCharacter) {
    struct Look {
        int64_t at;
        uint64_t shows;
    };
    const auto expectShows = [](const char* name, const TelopSettings& settings, const std::vector<size_t>& counts,
                                const std::vector<Look>& looks) {
        TelopSequencer sequencer(counts, settings, 0);
        for (const Look& look : looks) {
            sequencer.AdvanceTo(look.at);
            EXPECT_EQ(sequencer.Shows(), look.shows) << name << " at " << look.at;
        }
    };
    // clang-format off
    // Flashing: steps every 350 ms; on for four, then off and on in turns (ten shows in all
    // before the first line), ending off.
    expectShows("flashing", With([](auto& s) { s.Flash = true; }), {5, 5, 5},
                {{349, 0}, {1050, 3}, {1400, 4}, {1750, 4}, {2100, 5}, {4550, 8}, {4900, 9}, {8900, 10},
                 {12900, 10}, {16900, 11}});
    // Plain lines: each new line, and the second pass's title.
    expectShows("plain lines", TelopSettings{}, {5, 5, 5}, {{3999, 0}, {4000, 1}, {8000, 2}, {12000, 2}, {16000, 3}});
    // Typing: the title stands, the typed line shows already, and so does the closing line.
    expectShows("typed", With([](auto& s) {
                    s.Scroll = true;
                    s.ChangeSpeed = 1000;
                    s.ScrollSpeed = 100;
                }),
                {1, 6, 1}, {{1000, 0}, {1500, 0}, {2599, 0}, {2600, 1}});
    // clang-format on
}

TEST(TelopSequencer, EveryCaptionCloses) {
    struct Case {
        const char* name;
        bool flash;
        int32_t flashCount;
        bool scroll;
        int32_t changeSpeed, scrollSpeed;
        std::vector<size_t> counts;
        int64_t closesAt;
    };
    const Case cases[] = {
        {"defaults", false, 4, false, 4000, 25, {5, 5, 5}, 28000},
        {"two lines", false, 4, false, 4000, 25, {5, 5}, 20000},
        {"one line", false, 4, false, 4000, 25, {5}, 12000},
        {"no line", false, 4, false, 4000, 25, {}, 0},
        {"no flash", true, 0, false, 4000, 25, {5, 5, 5}, 24200},
        {"99 flashes", true, 99, false, 4000, 25, {5, 5, 5}, 162800},
        {"negative flashes", true, -5, false, 4000, 25, {5, 5, 5}, 24200},
        {"no change speed", false, 4, false, 0, 25, {5, 5, 5}, 90},
        {"no scroll speed", false, 4, true, 4000, 0, {1, 5, 1}, 28100},
        {"2000 characters", false, 4, true, 4000, 25, {1, 2000, 1}, 128000},
    };
    for (const auto& c : cases) {
        TelopSettings settings;
        settings.Flash = c.flash;
        settings.FlashCount = c.flashCount;
        settings.Scroll = c.scroll;
        settings.ChangeSpeed = c.changeSpeed;
        settings.ScrollSpeed = c.scrollSpeed;
        TelopSequencer stepped(c.counts, settings, 0);
        int64_t closedAt = 0;
        for (int ticks = 0; !stepped.Frame().Closed && ticks < 100000; ++ticks) {
            closedAt = stepped.NextTickAt();
            stepped.AdvanceTo(closedAt);
        }
        EXPECT_TRUE(stepped.Frame().Closed) << c.name;
        EXPECT_EQ(closedAt, c.closesAt) << c.name;

        // A late timer catches up on every tick it missed.
        TelopSequencer late(c.counts, settings, 500);
        late.AdvanceTo(500 + c.closesAt - 1);
        EXPECT_EQ(late.Frame().Closed, c.closesAt == 0) << c.name;
        late.AdvanceTo(500 + c.closesAt);
        EXPECT_TRUE(late.Frame().Closed) << c.name;
    }
}

} // namespace
} // namespace lumora
