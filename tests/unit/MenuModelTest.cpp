#include "menu/MenuModel.h"
#include "clock/SystemRules.h"
#include "shell/ScreenGeometry.h"
#include "shell/HelpRules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace lumora {
namespace {

using enum CommandId;

// The menu as lines: commands by id, submenus by caption, separators as "-"; two blanks a level.
std::vector<std::wstring> Lines(const std::vector<MenuItem>& items, const std::wstring& indent = L"") {
    std::vector<std::wstring> lines;
    for (const MenuItem& item : items) {
        if (item.Type == MenuItem::Kind::Separator) {
            lines.push_back(indent + L"-");
        } else if (item.Type == MenuItem::Kind::Submenu) {
            lines.push_back(indent + item.Caption);
            for (const std::wstring& line : Lines(item.Items, indent + L"  ")) {
                lines.push_back(line);
            }
        } else {
            lines.push_back(indent + std::to_wstring(static_cast<int>(item.Command)));
        }
    }
    return lines;
}

TEST(MenuModel, HiddenCommandsTakeTheirSeparatorsAndEmptySubmenusWithThem) {
    const Settings settings; // no server, no port, no test pattern
    const std::vector<std::wstring> expected{L"101",        L"-",        L"時刻合わせ(&J)",
                                             L"  104",      L"105",      L"-",
                                             L"121",        L"-",        L"配置(&Z)",
                                             L"  106",      L"  107",    L"  108",
                                             L"  109",      L"移動(&M)", L"  100",
                                             L"  -",        L"  110",    L"  111",
                                             L"  112",      L"  113",    L"114",
                                             L"-",          L"115",      L"-",
                                             L"ツール(&L)", L"  117",    L"  118",
                                             L"  119",      L"  -",      L"  120",
                                             L"-",          L"122",      L"123",
                                             L"-",          L"125"};
    EXPECT_EQ(Lines(VisibleMenuItems(settings, {})), expected);

    Settings shown = settings;
    shown.AdjustClock.AdjustType = 3;
    shown.AdjustClock.CurrentJJYPort = L"COM1";
    shown.Omake.ShowTestPattern = true;
    const std::vector<std::wstring> lines = Lines(VisibleMenuItems(shown, {}));
    EXPECT_EQ(std::vector<std::wstring>(lines.begin() + 2, lines.begin() + 6),
              (std::vector<std::wstring>{L"時刻合わせ(&J)", L"  103", L"  -", L"  104"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"  116"), 1);

    // Applied without a port to choose, the kit's command goes; the stored port name stays.
    MenuContext noPort;
    noPort.KitPortSelected = false;
    EXPECT_FALSE(CommandStateOf(JJYAdjust, shown, noPort).Visible);
    EXPECT_EQ(Lines(VisibleMenuItems(shown, noPort))[3], L"  104");
}

TEST(MenuModel, StatesFollowTheSettingsAndWhatIsOpen) {
    Settings settings;
    settings.View.Placement.ZOrder = 3;
    MenuContext context;
    for (CommandId command : {NoTopMost, TopMost, SpecialTopMost, BottomMost}) {
        const CommandState state = CommandStateOf(command, settings, context);
        EXPECT_TRUE(state.Radio);
        EXPECT_EQ(state.Checked, command == BottomMost);
    }

    EXPECT_EQ(CommandStateOf(AlphaBlend, settings, context), (CommandState{true, true, false, false}));
    settings.View.AlphaBlend = 200;
    EXPECT_TRUE(CommandStateOf(AlphaBlend, settings, context).Checked);
    context.ColourDepth = 8;
    EXPECT_FALSE(CommandStateOf(AlphaBlend, settings, context).Enabled);
    context.ColourDepth = 16;
    context.LayeredWindows = false;
    EXPECT_FALSE(CommandStateOf(AlphaBlend, settings, context).Enabled);

    // A shift counts outside zone mode, a zone (not the never-date) inside it.
    settings.WorldClock.TimeDiffTime = 0.125;
    EXPECT_TRUE(CommandStateOf(WorldClock, settings, context).Checked);
    settings.WorldClock.WorldClockMode = true;
    settings.WorldClock.WorldClockTime = NeverDate;
    EXPECT_FALSE(CommandStateOf(WorldClock, settings, context).Checked);

    context.TimerRunning = true;
    context.Busy = {TestPattern};
    EXPECT_TRUE(CommandStateOf(Timer, settings, context).Checked);
    EXPECT_FALSE(CommandStateOf(TestPattern, settings, context).Enabled);
    EXPECT_TRUE(CommandStateOf(Help, settings, context).Enabled);
}

TEST(MenuModel, ImagesComeWithTheirMasks) {
    PixelBuffer sheet(320, 32, 0xFFFFFFFF); // white: every mask pixel clear
    sheet.At(16 * 3 + 5, 2) = 0xFF123456;
    sheet.At(16 * 3 + 5, 16 + 2) = 0xFF000000; // shown through the mask
    const std::vector<PixelBuffer> images = SplitMenuImages(sheet);
    ASSERT_EQ(images.size(), 20u);
    EXPECT_EQ(images[3].At(5, 2), 0xFF123456u);
    EXPECT_EQ(images[3].At(6, 2), 0u);
    EXPECT_TRUE(SplitMenuImages(PixelBuffer(320, 16)).empty());
}

TEST(SystemCommands, DateAndTimePanelAndCalendarCorner) {
    const std::wstring system = L"C:\\W\\system32", windows = L"C:\\W";
    auto only = [](std::wstring present) { return [present](const std::wstring& path) { return path == present; }; };
    EXPECT_EQ(TimeDateCommandLine(system, windows, only(L"C:\\W\\rundll32.exe")),
              L"C:\\W\\rundll32.exe C:\\W\\system32\\shell32.dll,Control_RunDLL C:\\W\\system32\\timedate.cpl");
    EXPECT_EQ(TimeDateCommandLine(system, windows, only(L"")), L"C:\\W\\control.exe C:\\W\\system32\\timedate.cpl");

    const ScreenRect work{0, 0, 1280, 770};
    EXPECT_EQ(CalendarCorner(work, 1280, 800, {1100, 770, 1280, 800}, 379, 256), (ScreenPoint{901, 514}));
    EXPECT_EQ(CalendarCorner(work, 1280, 800, {0, 0, 1280, 30}, 379, 256), (ScreenPoint{0, 0}));
}

TEST(HelpRules, EachStepOnlyWhenTheOneBeforeHoldsAndTheFirstPageStandsInForAMissingTopic) {
    int calls = 0;
    auto probe = [&calls](bool topic, bool readable, bool firstPage) {
        HelpProbe p;
        p.ViewerAvailable = p.FileExists = true;
        p.ShowTopic = [&calls, topic] {
            ++calls;
            return topic;
        };
        p.FileReadable = [readable] { return readable; };
        p.ShowFirstPage = [&calls, firstPage] {
            ++calls;
            return firstPage;
        };
        return p;
    };
    HelpProbe minimised = probe(true, true, true);
    minimised.OwnerMinimized = true;
    EXPECT_EQ(OpenHelp(minimised), HelpOutcome::Nothing);
    HelpProbe noViewer = probe(true, true, true);
    noViewer.ViewerAvailable = false;
    EXPECT_EQ(OpenHelp(noViewer), HelpOutcome::NoViewer);
    HelpProbe noFile = probe(true, true, true);
    noFile.FileExists = false;
    EXPECT_EQ(OpenHelp(noFile), HelpOutcome::NoFile);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(OpenHelp(probe(true, false, false)), HelpOutcome::Shown);
    EXPECT_EQ(OpenHelp(probe(false, true, true)), HelpOutcome::Shown); // a wrong context number
    EXPECT_EQ(OpenHelp(probe(false, false, true)), HelpOutcome::NotPermitted);
    EXPECT_EQ(OpenHelp(probe(false, true, false)), HelpOutcome::NotPermitted);
}

} // namespace
} // namespace lumora
