#pragma once
// The commands of the popup menu, one id each. The menu, the icon, the clock window and the
// end-to-end tests all run a command through the master's WM_COMMAND with one of these ids.

#include "clock/Placement.h"

#include <cstdint>
#include <optional>

namespace lumora {

// Fixed numbers: other programs (the tests among them) send them.
enum class CommandId : uint16_t {
    KeyMove = 100,
    Option = 101,
    NetworkAdjust = 102,
    JJYAdjust = 103,
    AdjustClockZero = 104,
    WorldClock = 105,
    NoTopMost = 106,
    TopMost = 107,
    SpecialTopMost = 108,
    BottomMost = 109,
    LTArrange = 110,
    RTArrange = 111,
    RBArrange = 112,
    LBArrange = 113,
    Fixed = 114,
    AlphaBlend = 115,
    TestPattern = 116,
    ScreenSave = 117,
    ScreenSaveConfig = 118,
    MonitorOff = 119,
    TimeDateCpl = 120,
    Timer = 121,
    Help = 122,
    About = 123,
    WebSite = 124,
    Exit = 125,
    Calendar = 126,
};

// The help topic of the program as a whole.
constexpr int MasterHelpContext = 18;

constexpr CommandId FirstCommand = CommandId::KeyMove;
constexpr CommandId LastCommand = CommandId::Calendar;

constexpr bool IsCommandId(unsigned value) {
    return value >= static_cast<unsigned>(FirstCommand) && value <= static_cast<unsigned>(LastCommand);
}

// The four stacking commands, in the order of the stacking modes.
constexpr std::optional<StackingMode> StackingModeOf(CommandId command) {
    const int index = static_cast<int>(command) - static_cast<int>(CommandId::NoTopMost);
    constexpr StackingMode Modes[] = {StackingMode::Normal, StackingMode::InFront, StackingMode::AlwaysInFront,
                                      StackingMode::NotInFront};
    return index >= 0 && index < 4 ? std::optional(Modes[index]) : std::nullopt;
}

// The four corner commands: top left, top right, bottom right, bottom left.
constexpr std::optional<Corner> CornerOf(CommandId command) {
    const int index = static_cast<int>(command) - static_cast<int>(CommandId::LTArrange);
    constexpr Corner Corners[] = {Corner::TopLeft, Corner::TopRight, Corner::BottomRight, Corner::BottomLeft};
    return index >= 0 && index < 4 ? std::optional(Corners[index]) : std::nullopt;
}

} // namespace lumora
