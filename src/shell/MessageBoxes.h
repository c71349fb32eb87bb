#pragma once
// Texts from the string table and the message boxes that show them.

#include "shell/TextFill.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace lumora {

std::wstring LoadResourceString(UINT id);

// A message box titled "Lumora" with a message of the string table.
int ShowResourceMessage(HWND owner, UINT id, UINT flags, std::initializer_list<std::wstring_view> args = {});

// An error that nobody handled: tells the user and ends the program.
[[noreturn]] void ShowFatalError(std::string_view what);

} // namespace lumora
