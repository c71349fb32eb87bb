#pragma once
// The menu's commands that hand over to Windows: the screen saver and its settings, the monitor's
// power, the date and time panel, the web site. Each says in a message box what went wrong.

#include <windows.h>

namespace lumora {

// receiver: an enabled top-level window of ours; its default procedure carries out the system
// command (a disabled window's does nothing). configure: the screen saver's own settings instead
// of the screen saver.
void RunScreenSaver(HWND receiver, bool configure);
void TurnMonitorOff(HWND receiver);
void OpenTimeDatePanel();
void OpenWebSite(HWND clock);

} // namespace lumora
