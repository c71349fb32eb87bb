#pragma once
// The shortcut that starts the program with Windows: "Lumora.lnk" in the user's Startup folder.

#include <windows.h>

#include <string>

namespace lumora {

// Empty when the folder is unknown.
std::wstring StartupShortcutPath();
bool StartupShortcutExists();

// Makes or removes the shortcut as the start-up box says. A shortcut of that name that starts
// another program (or cannot be read) is replaced only when the user agrees, and never deleted;
// failures are told in message boxes owned by owner.
void ApplyStartupShortcut(HWND owner, bool wanted);

} // namespace lumora
