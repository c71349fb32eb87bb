#pragma once
// The display monitors in the order the system lists them.

#include <windows.h>

#include <vector>

namespace lumora {

struct MonitorArea {
    RECT Bounds{};
    RECT Work{};
};

std::vector<MonitorArea> EnumerateMonitors();

} // namespace lumora
