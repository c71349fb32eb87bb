// The Date header comes from any web server or proxy: whatever it holds, the parser gives no time
// or a real one, and the same one whether the text arrives as bytes or as UTF-16.

#include "FuzzCheck.h"
#include "adjust/HttpDate.h"
#include "clock/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace lumora;

namespace {

void CheckTime(std::optional<double> utc) {
    if (utc) {
        const DateTimeParts p = SplitDateTime(*utc);
        Check(p.Year >= 1 && p.Year <= 9999 && p.Millisecond == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<double> narrow = ParseHttpDate(bytes);
    CheckTime(narrow);
    const std::wstring widened(data, data + size);
    Check(ParseHttpDate(widened) == narrow);

    // Two bytes per character reach the rest of UTF-16.
    std::wstring wide;
    for (size_t i = 0; i + 1 < size; i += 2) {
        wide += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    }
    const std::optional<double> fromWide = ParseHttpDate(wide);
    CheckTime(fromWide);
    // Nothing after the fixed fields matters.
    if (wide.size() > 25 && wide.find(L'\0') >= 25) {
        Check(ParseHttpDate(std::wstring_view(wide).substr(0, 25)) == fromWide);
    }
    return 0;
}
