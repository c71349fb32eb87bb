#pragma once
// Failures the end-to-end tests ask for where Wine cannot fail the way Windows does: the
// environment variable LUMORA_FAULT names them, separated by commas ("replace-1176,no-tray").
// A user's program never has the variable, and every answer is then false.

#include <string_view>

namespace lumora {

bool TestFault(std::wstring_view name);

} // namespace lumora
