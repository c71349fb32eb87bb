#include "app/MasterRules.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using enum CommandId;

TEST(MasterRules, EveryClickClosesTheCaptionAndOnlyAClearClickAwayFromTheClockRedrawsAll) {
    for (const ClickSender sender : {ClickSender::Icon, ClickSender::Clock, ClickSender::Master}) {
        for (const bool captionOpen : {false, true}) {
            const ClickPlan plan = PlanClick(sender, captionOpen);
            EXPECT_TRUE(plan.CloseCaption);
            EXPECT_EQ(plan.FullRedraw, !captionOpen && sender != ClickSender::Clock)
                << static_cast<int>(sender) << " caption " << captionOpen;
            EXPECT_EQ(plan.FromIcon, sender == ClickSender::Icon);
        }
    }
}

TEST(MasterRules, AnotherProgramsCommandRunsOnlyWhenTheMenuWouldOfferIt) {
    Settings settings;
    MenuContext context;
    EXPECT_TRUE(CommandAccepted(AlphaBlend, settings, context));
    context.ColourDepth = 8;
    EXPECT_FALSE(CommandAccepted(AlphaBlend, settings, context)) << "the opacity needs 16 bits";
    context.ColourDepth = 16;
    EXPECT_TRUE(CommandAccepted(AlphaBlend, settings, context));

    settings.Omake.ShowTestPattern = false;
    EXPECT_FALSE(CommandAccepted(TestPattern, settings, context));
    settings.Omake.ShowTestPattern = true;
    EXPECT_TRUE(CommandAccepted(TestPattern, settings, context));

    settings.AdjustClock.AdjustType = 3;
    settings.AdjustClock.CurrentJJYPort.clear();
    EXPECT_FALSE(CommandAccepted(JJYAdjust, settings, context)) << "no port, no kit";

    // Not in the menu but commands of their own: the calendar while none is open.
    EXPECT_TRUE(CommandAccepted(Calendar, settings, context));
    context.Busy = {Calendar, Help};
    EXPECT_FALSE(CommandAccepted(Calendar, settings, context));
    EXPECT_FALSE(CommandAccepted(Help, settings, context));
    EXPECT_TRUE(CommandAccepted(About, settings, context));
}

TEST(MasterRules, TheCommandsThatWaitForWindowsRunOneAtATime) {
    for (const CommandId command : {ScreenSave, ScreenSaveConfig, MonitorOff, Help, TimeDateCpl, WebSite}) {
        EXPECT_TRUE(RunsInPlace(command)) << static_cast<int>(command);
    }
    // Those with a window of their own are busy while it is open instead.
    for (const CommandId command : {Option, About, AlphaBlend, WorldClock, Timer, Calendar, TestPattern, Exit}) {
        EXPECT_FALSE(RunsInPlace(command)) << static_cast<int>(command);
    }
}

} // namespace
} // namespace lumora
