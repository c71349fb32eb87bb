#pragma once
// Message texts with "%s" places, filled in turn.

#include <initializer_list>
#include <string>
#include <string_view>

namespace lumora {

// Replaces each "%s" of the text in turn by the next argument; places without an argument stay.
std::wstring FillText(std::wstring_view text, std::initializer_list<std::wstring_view> args);

} // namespace lumora
