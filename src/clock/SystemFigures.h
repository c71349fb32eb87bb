#pragma once
// The tooltip format language with the figures of this moment: time since Windows started,
// memory and power.

#include "clock/DateTimeFormat.h"
#include "clock/TooltipFormat.h"

#include <string>

namespace lumora {

// Memory and power are read only when a format asks for them.
SystemFigures CurrentSystemFigures();

std::wstring ExpandFormatNow(const std::wstring& format, double displayed, const LocaleFacts& locale);

} // namespace lumora
