#pragma once
// Failures the end-to-end tests ask for where Wine cannot fail the way Windows does: the
// environment variable LUMORA_FAULT names them, separated by commas ("replace-1176,strict-dcb").
// A user's program never has the variable, and every answer is then false. The faults:
//   replace-1176, replace-1177   the settings file's swap fails as Windows leaves the files then
//   replace-busy, replace-held   ... with a sharing violation, twice or every time
//   no-clock-privilege           the program's own clock sets are refused for want of the right
//   strict-dcb                   the kit's port refuses a line block Windows would refuse
//   udp-connreset                the SNTP socket reports a port-unreachable (WSAECONNRESET)
//   tray-add-refused-<n>         the shell refuses the first n adds of the notification icon
//   no-taskbar-clock             the taskbar has no clock window (Windows 11)
//   modern-standby, no-hibernate the computer has no classic standby, no hibernation
//   foreground-lock              the program keeps Windows' foreground rule itself
//   tick, tick-start, test-pattern-2, kit-port-settings   see app/TestHooks.h

#include <string_view>

namespace lumora {

bool TestFault(std::wstring_view name);

} // namespace lumora
