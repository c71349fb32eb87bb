// The kit's replies come over a serial line that may carry noise or another device: any bytes give
// one of the defined outcomes, and a time only when it is a real one.

#include "FuzzCheck.h"
#include "adjust/KitReplies.h"
#include "clock/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace lumora;

// The first byte says whether the exchange is the repeat; the rest, split at 0xFF, is the status
// reply, the first date, the time and the second date.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool repeated = (data[0] & 1) != 0;
    std::vector<std::string_view> replies(1);
    const char* start = reinterpret_cast<const char*>(data + 1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && replies.size() < 4) {
            start = reinterpret_cast<const char*>(data + i + 1);
            replies.emplace_back(start, 0);
        } else {
            replies.back() = std::string_view(start, replies.back().size() + 1);
        }
    }
    replies.resize(4);

    const KitStatus status = ReadKitStatus(replies[0]);
    Check(status != KitStatus::NoCommunication || replies[0].empty() || replies[0].starts_with("DCST\r\n"));
    Check(status != KitStatus::Ready || replies[0].size() >= 5);

    const KitTime time = ReadKitTime(replies[1], replies[2], replies[3], repeated);
    Check(!repeated || time.Verdict != KitVerdict::Retry);
    Check(ReadKitTime(replies[3], replies[2], replies[1], repeated).Verdict == time.Verdict);
    if (time.Verdict == KitVerdict::Accepted) {
        const DateTimeParts japan = SplitDateTime(time.Utc + 9.0 / 24);
        Check(japan.Year >= 1 && japan.Year <= 9999 && japan.Millisecond == 0);
    }

    const std::wstring name(data, data + size);
    const std::wstring path = SerialDevicePath(name);
    Check(path == name || path == L"\\\\.\\" + name);
    return 0;
}
