#pragma once
// The Date header of an HTTP response, read by the fixed character positions of its standard form
// "Sun, 06 Nov 1994 08:49:37 GMT". Any other layout gives no time.

#include <optional>
#include <string_view>

namespace lumora {

// The UTC date-time (milliseconds 0; the zone name is not read), or empty when the fields at their
// positions do not form a valid date and time. The header comes from a zeroed fixed buffer: the
// text ends at the first NUL, and only its first 25 characters are ever looked at.
std::optional<double> ParseHttpDate(std::wstring_view header);
std::optional<double> ParseHttpDate(std::string_view header);

} // namespace lumora
