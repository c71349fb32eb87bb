#pragma once
// Taking the foreground. Windows lets a process bring its window forward only when it is the
// foreground process, received the last input, or was allowed by the foreground process
// (AllowSetForegroundWindow); otherwise the call is refused and the taskbar button flashes.
// Under the test fault "foreground-lock" the program keeps that rule itself, as Wine does not.

#include <windows.h>

namespace lumora {

// Lets the process of window take the foreground: called by the process the user works in.
void AllowForegroundTo(HWND window);

// Shows window and brings it forward; false when the system (or the fault) kept the foreground
// where it was.
bool ShowInForeground(HWND window);

} // namespace lumora
