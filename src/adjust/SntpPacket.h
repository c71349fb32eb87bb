#pragma once
// One SNTP exchange over UDP: the 48-byte client request, and the server's reply checked and turned
// into the UTC time of its transmit timestamp.

#include <array>
#include <cstdint>
#include <span>

namespace lumora {

constexpr uint16_t SntpServerPort = 123;
constexpr size_t SntpPacketSize = 48;

// Byte 0 = 0x0B (no leap warning, version 1, mode 3 = client); no originate timestamp is sent.
std::array<uint8_t, SntpPacketSize> SntpRequest();

// A datagram from anyone else, or a reply that carries no usable time, is not the answer: the
// shell ignores it and keeps reading until its time-out.
enum class SntpVerdict {
    Accepted,
    OtherSender,    // not from the server's address and port 123
    TooShort,       // fewer than 48 bytes
    NotServer,      // mode other than 4
    KissOfDeath,    // stratum 0: the server tells us to go away, its timestamps mean nothing
    Unsynchronised, // leap indicator 3: the server has no time itself
    NoTime,         // transmit timestamp zero
};

struct SntpReply {
    SntpVerdict Verdict = SntpVerdict::TooShort;
    double Utc = 0; // the transmit time as a date-time, milliseconds truncated; set when accepted
};

// Addresses in any fixed byte order, as long as both are in the same one; ports in host order.
constexpr bool IsFromServer(uint32_t senderAddress, uint16_t senderPort, uint32_t serverAddress) {
    return senderAddress == serverAddress && senderPort == SntpServerPort;
}

// datagram: everything received, which may be longer than 48 bytes (extension fields).
SntpReply ReadSntpReply(std::span<const uint8_t> datagram, bool fromServer);

// What a receive that fails means for the wait, by its Windows Sockets error number.
enum class SntpReceiveStep {
    EndRun,      // the socket fails: the receive-error message at once
    Dropped,     // a datagram too long for any reply was thrown away, as one that is not the answer
    KeepWaiting, // no datagram at all, only a report: the wait goes on as if nothing had come
};
SntpReceiveStep AfterReceiveError(int socketError);

} // namespace lumora
