#pragma once
// The tooltip format language with the figures of this moment: time since Windows started,
// memory and power.

#include "clock/DateTimeFormat.h"

#include <string>

namespace lumora {

std::wstring ExpandFormatNow(const std::wstring& format, double displayed, const LocaleFacts& locale);

} // namespace lumora
