// SNTP replies come from the network, from anyone who can reach our port: any datagram must be
// either ignored or give a time between 1970 and 2106.

#include "FuzzCheck.h"
#include "adjust/SntpPacket.h"
#include "clock/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace lumora;

// The first byte says whether the datagram came from the server; the rest is the datagram.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool fromServer = (data[0] & 1) != 0;
    const std::span<const uint8_t> datagram(data + 1, size - 1);
    const SntpReply reply = ReadSntpReply(datagram, fromServer);
    Check(fromServer || reply.Verdict == SntpVerdict::OtherSender);
    Check(datagram.size() >= SntpPacketSize || reply.Verdict != SntpVerdict::Accepted);
    if (reply.Verdict == SntpVerdict::Accepted) {
        const DateTimeParts utc = SplitDateTime(reply.Utc);
        Check(utc.Year >= 1970 && utc.Year <= 2106);
        // Only the first 48 bytes count.
        Check(ReadSntpReply(datagram.first(SntpPacketSize), true).Utc == reply.Utc);
    }
    return 0;
}
