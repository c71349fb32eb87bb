#pragma once
// Texts from the string table and the message boxes that show them.

#include "shell/TextFill.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace lumora {

std::wstring LoadResourceString(UINT id);

// Who owns a message box the program shows unasked: the window the user works in, unless it is
// passOver (the clock, which may hide beneath the box) or a window nobody sees; else none.
HWND MessageBoxOwner(HWND passOver = nullptr);

// A box the program opens on its own (the timer, the hour, a report) while the user may work
// in another program: it asks for the foreground and stays above other windows, so that it never
// opens unseen behind the window the user works in when Windows keeps the foreground from it.
constexpr UINT UnaskedBoxFlags = MB_SETFOREGROUND | MB_TOPMOST;

// A message box titled "Lumora" with a message of the string table.
int ShowResourceMessage(HWND owner, UINT id, UINT flags, std::initializer_list<std::wstring_view> args = {});

// An error that nobody handled: tells the user and ends the program.
[[noreturn]] void ShowFatalError(std::string_view what);

} // namespace lumora
