#include "tray/TrayRules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lumora {
namespace {

std::vector<IconEvent> Feed(std::initializer_list<IconMouse> messages) {
    IconClickTracker tracker;
    std::vector<IconEvent> events;
    for (IconMouse m : messages) {
        if (const IconEvent e = tracker.Feed(m); e != IconEvent::None) {
            events.push_back(e);
        }
    }
    return events;
}

// The waits a round of refused adds goes through, in order, until it gives up.
std::vector<uint32_t> WaitsUntilGivenUp(IconAddTries& tries) {
    std::vector<uint32_t> waits;
    while (const auto wait = tries.Tried(false)) {
        waits.push_back(*wait);
        if (waits.size() > 20) {
            break;
        }
    }
    return waits;
}

TEST(TrayRules, RefusedAddsAreTriedAgainForHalfAMinuteThenGivenUp) {
    IconAddTries tries;
    EXPECT_FALSE(tries.Waiting() || tries.Added());
    tries.Begin();
    EXPECT_TRUE(tries.Waiting());
    EXPECT_EQ(WaitsUntilGivenUp(tries), (std::vector<uint32_t>{1000, 2000, 4000, 8000, 16000}));
    // Given up: nothing counts the icon shown, and a late answer changes nothing.
    EXPECT_FALSE(tries.Waiting() || tries.Added());
    EXPECT_EQ(tries.Tried(true), std::nullopt);
    EXPECT_FALSE(tries.Added());

    // The taskbar made again starts a whole new round, whatever the last one came to.
    tries.Begin();
    EXPECT_EQ(tries.Tried(false), 1000u);
    EXPECT_EQ(tries.Tried(false), 2000u);
    EXPECT_EQ(tries.Tried(true), std::nullopt);
    EXPECT_TRUE(tries.Added());
    EXPECT_FALSE(tries.Waiting());
    tries.Begin();
    EXPECT_FALSE(tries.Added());
    EXPECT_EQ(WaitsUntilGivenUp(tries).size(), 5u);
}

TEST(TrayRules, AnAddSucceedsOnlyWhileItIsWanted) {
    IconAddTries tries;
    tries.Begin();
    EXPECT_EQ(tries.Tried(true), std::nullopt);
    EXPECT_TRUE(tries.Added());
    tries.End();
    EXPECT_FALSE(tries.Added() || tries.Waiting());
    // A timer that fires after the icon was switched off tries nothing more.
    tries.Begin();
    EXPECT_EQ(tries.Tried(false), 1000u);
    tries.End();
    EXPECT_EQ(tries.Tried(true), std::nullopt);
    EXPECT_FALSE(tries.Added() || tries.Waiting());
}

TEST(TrayRules, IconSizeFollowsTheSmallIconMetric) {
    const std::pair<int, int> rows[] = {
        {96, 16}, {120, 20}, {144, 24}, {168, 28}, {192, 32}, {240, 40}, {288, 48}, {110, 18}, {0, 16}, {72, 16},
    };
    for (const auto& [dpi, size] : rows) {
        EXPECT_EQ(SmallIconSize(dpi), size) << dpi;
    }
}

TEST(TrayRules, ClicksAndDoubleClicksFromMouseMessages) {
    using M = IconMouse;
    using E = IconEvent;
    // A double click: one click, then the double click, and its button-up is no second click.
    EXPECT_EQ(Feed({M::LeftDown, M::LeftUp, M::LeftDouble, M::LeftUp}), (std::vector{E::Click, E::DoubleClick}));
    // A button-up without its button-down (it went down elsewhere) is no click.
    EXPECT_EQ(Feed({M::LeftUp}), std::vector<E>{});
    // A right double click only blocks a second double click; the next left click still counts.
    EXPECT_EQ(Feed({M::RightDouble, M::LeftDouble, M::LeftDown, M::LeftUp, M::LeftDouble}),
              (std::vector{E::Click, E::DoubleClick}));
    EXPECT_EQ(Feed({M::RightUp, M::BalloonClick}), (std::vector{E::ContextMenu, E::BalloonClick}));
}

TEST(TrayRules, TipsAndBalloonsKeepWhatTheShellCanShow) {
    const std::wstring twoLines = L"Lumora\r\n2026年1月5日";
    EXPECT_EQ(IconTipText(twoLines, 6, true), twoLines);
    EXPECT_EQ(IconTipText(twoLines, 4, false), L"Lumora  2026年1月5日");
    EXPECT_EQ(IconTipText(std::wstring(300, L'x'), 6, true).size(), 127u);
    EXPECT_EQ(IconTipText(std::wstring(300, L'x'), 6, false).size(), 63u);

    // The clock-setting report reads as two lines; only the title becomes one.
    const BalloonText balloon =
        MakeBalloonText(L"Lumora - 時刻合わせ\r\n(NTP)", L"変更前: 10:00:00\r\n変更後: 10:00:01");
    EXPECT_EQ(balloon.Title, L"Lumora - 時刻合わせ  (NTP)");
    EXPECT_EQ(balloon.Body, L"変更前: 10:00:00\r\n変更後: 10:00:01");
    EXPECT_EQ(MakeBalloonText(std::wstring(100, L't'), std::wstring(300, L'b')).Title.size(), 63u);
    EXPECT_EQ(MakeBalloonText(L"", std::wstring(300, L'b')).Body.size(), 255u);
}

TEST(TrayRules, BalloonsNeedShellFiveAnAreaAndNoPolicyAgainst) {
    struct Row {
        BalloonFacts Facts;
        bool Available;
    } rows[] = {
        {{6, true, std::nullopt, std::nullopt}, true},
        {{4, true, std::nullopt, std::nullopt}, false},
        {{6, false, std::nullopt, std::nullopt}, false},
        {{6, true, 1u, std::nullopt}, false},
        {{6, true, 0u, 0u}, false},
        {{5, true, 0u, 0u}, true}, // the balloon-tips setting came with shell 6
    };
    for (const Row& row : rows) {
        EXPECT_EQ(BalloonsAvailable(row.Facts), row.Available) << row.Facts.ShellMajorVersion;
    }
}

TEST(TrayRules, NotificationStyleByKinds) {
    using I = NotifyIcon;
    EXPECT_EQ(ChooseNotificationStyle(1, 2),
              (NotificationStyle{I::Information, I::Exclamation, I::Exclamation, false}));
    EXPECT_EQ(ChooseNotificationStyle(3, 3), (NotificationStyle{I::Error, I::Error, I::Error, false}));
    // No beep: the box shows the information icon and makes no sound.
    EXPECT_EQ(ChooseNotificationStyle(7, 0), (NotificationStyle{I::None, I::None, I::Information, true}));
    EXPECT_EQ(ChooseNotificationStyle(0, -1), (NotificationStyle{I::None, I::None, I::Information, true}));
}

TEST(TrayRules, TaskbarClockHiddenAgainAfterEveryRestore) {
    TaskbarClockKeeper keeper;
    keeper.Observe(true);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(keeper.WasVisible()) << round;
        EXPECT_TRUE(keeper.Hide(true)) << round;
        // A settings change looks while we have it hidden: still ours to give back.
        keeper.Observe(false);
        EXPECT_TRUE(keeper.WasVisible()) << round;
        EXPECT_TRUE(keeper.Restore()) << round;
    }
    EXPECT_FALSE(keeper.Restore());
}

TEST(TrayRules, TaskbarClockTheUserHidIsLeftAlone) {
    TaskbarClockKeeper keeper;
    keeper.Observe(false);
    EXPECT_FALSE(keeper.WasVisible());
    EXPECT_FALSE(keeper.Hide(false));
    EXPECT_FALSE(keeper.Restore());
}

} // namespace
} // namespace lumora
