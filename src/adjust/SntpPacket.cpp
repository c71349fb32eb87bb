#include "adjust/SntpPacket.h"

#include "clock/DateTime.h"

namespace lumora {
namespace {

// Seconds from 1900-01-01 (the NTP era) to 1970-01-01.
constexpr uint32_t NtpToUnixSeconds = 2208988800u;

// Days from the program's day 0 (1899-12-30) to 1970-01-01.
constexpr double UnixEpochDays = 25569.0;

uint32_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
           static_cast<uint32_t>(bytes[at + 2]) << 8 | static_cast<uint32_t>(bytes[at + 3]);
}

// Windows Sockets error numbers.
constexpr int MessageTooLong = 10040;  // WSAEMSGSIZE
constexpr int ConnectionReset = 10054; // WSAECONNRESET

} // namespace

std::array<uint8_t, SntpPacketSize> SntpRequest() {
    std::array<uint8_t, SntpPacketSize> packet{};
    packet[0] = 0x0B;
    return packet;
}

SntpReply ReadSntpReply(std::span<const uint8_t> datagram, bool fromServer) {
    if (!fromServer) {
        return {SntpVerdict::OtherSender};
    }
    if (datagram.size() < SntpPacketSize) {
        return {SntpVerdict::TooShort};
    }
    const int leap = datagram[0] >> 6;
    const int mode = datagram[0] & 7;
    const int stratum = datagram[1];
    const uint32_t seconds = BigEndian32(datagram, 40);
    const uint32_t fraction = BigEndian32(datagram, 44);
    if (mode != 4) {
        return {SntpVerdict::NotServer};
    }
    if (stratum == 0) {
        return {SntpVerdict::KissOfDeath};
    }
    if (leap == 3) {
        return {SntpVerdict::Unsynchronised};
    }
    if (seconds == 0 && fraction == 0) {
        return {SntpVerdict::NoTime};
    }

    // Unsigned 32-bit on purpose: after the NTP era rolls over in 2036 the difference wraps to the
    // right Unix time, good until 2106.
    const uint32_t unixSeconds = seconds - NtpToUnixSeconds;
    const auto milliseconds = static_cast<uint32_t>(uint64_t{fraction} * 1000 >> 32);
    const uint64_t totalMilliseconds = uint64_t{unixSeconds} * 1000 + milliseconds;
    return {SntpVerdict::Accepted, UnixEpochDays + static_cast<double>(totalMilliseconds) / MillisecondsPerDay};
}

SntpReceiveStep AfterReceiveError(int socketError) {
    switch (socketError) {
    case MessageTooLong:
        return SntpReceiveStep::Dropped;
    case ConnectionReset:
        // Windows' word for an ICMP "port unreachable" that came back for the request: the host
        // serves no NTP. Waiting on ends the run at its time-out, as for a host that stays silent.
        return SntpReceiveStep::KeepWaiting;
    default:
        return SntpReceiveStep::EndRun;
    }
}

} // namespace lumora
