#pragma once
// What the timer does when the time is up, besides announcing it: start a program, shut Windows
// down, put it on standby or into hibernation.

#include "tools/TimerPower.h"

#include <string>

namespace lumora {

// The shell's "open" of the program; false when it could not be started.
bool OpenTimerProgram(const std::wstring& program);

enum class PowerOutcome {
    Done,
    NoPrivilege, // the shutdown privilege could not be enabled: nothing was asked of Windows
    Failed,
};
PowerOutcome ShutDownWindows(bool force);
// The computer's sleep states, read anew each time: hibernation can be switched off while the
// program runs.
PowerCapabilities ReadPowerCapabilities();
// Fails without asking Windows when the computer does not have that state.
PowerOutcome SuspendWindows(bool hibernate);

} // namespace lumora
