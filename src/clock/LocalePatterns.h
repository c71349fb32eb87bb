#pragma once
// Windows gives its date and time patterns in its own letters (M month, H 24-hour hour,
// tt am/pm); the program formats with the classic letters (m month, n minute, ampm).

#include <string>
#include <string_view>

namespace lumora {

std::wstring TranslateWindowsPattern(std::wstring_view windowsPattern);

} // namespace lumora
