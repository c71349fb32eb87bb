#include "adjust/SntpPacket.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

// A good reply: leap indicator 0, version 4, mode 4, stratum 2, the given transmit timestamp.
std::vector<uint8_t> Reply(uint32_t seconds, uint32_t fraction, size_t size = 48) {
    std::vector<uint8_t> packet(size);
    packet[0] = 0x24;
    packet[1] = 2;
    for (int i = 0; i < 4; ++i) {
        packet[40 + i] = static_cast<uint8_t>(seconds >> (24 - 8 * i));
        packet[44 + i] = static_cast<uint8_t>(fraction >> (24 - 8 * i));
    }
    return packet;
}

TEST(SntpPacket, RequestIsModeThreeVersionOneAndNothingElse) {
    const auto request = SntpRequest();
    EXPECT_EQ(request[0], 0x0B);
    for (size_t i = 1; i < request.size(); ++i) {
        EXPECT_EQ(request[i], 0) << i;
    }
}

TEST(SntpPacket, TransmitTimestampToUtc) {
    struct Row {
        uint32_t seconds;
        uint32_t fraction;
        DateTimeParts utc;
    };
    const Row rows[] = {
        {0xED058B8B, 0, {2026, 1, 5, 0, 59, 55, 0, 0}},
        {0xED058B8B, 0x80000000, {2026, 1, 5, 0, 59, 55, 500, 0}},
        {0xED058B8B, 0xFFFFFFFF, {2026, 1, 5, 0, 59, 55, 999, 0}}, // truncated, never rounded up
        {0xED058B8B, 0x00418937, {2026, 1, 5, 0, 59, 55, 0, 0}},   // just under 1 ms
        {0xED058B8B, 0x00418938, {2026, 1, 5, 0, 59, 55, 1, 0}},
        {0x00000001, 0, {2036, 2, 7, 6, 28, 17, 0, 3}}, // the NTP era after the 2036 roll-over
        {0x83AA7E7F, 0, {2106, 2, 7, 6, 28, 15, 0, 6}}, // the last second of unsigned Unix time
    };
    for (const Row& r : rows) {
        const SntpReply reply = ReadSntpReply(Reply(r.seconds, r.fraction), true);
        ASSERT_EQ(reply.Verdict, SntpVerdict::Accepted) << std::hex << r.seconds;
        EXPECT_EQ(SplitDateTime(reply.Utc), r.utc) << std::hex << r.seconds << " " << r.fraction;
    }
}

TEST(SntpPacket, RepliesWithoutAUsableTimeAreIgnored) {
    struct Row {
        const char* what;
        size_t index; // byte to overwrite, or SIZE_MAX for none
        uint8_t value;
        size_t size;
        bool fromServer;
        SntpVerdict expected;
    };
    const Row rows[] = {
        {"good", SIZE_MAX, 0, 48, true, SntpVerdict::Accepted},
        {"with extension fields", SIZE_MAX, 0, 1500, true, SntpVerdict::Accepted},
        {"leap second ahead", 0, 0x64, 48, true, SntpVerdict::Accepted},
        {"another sender", SIZE_MAX, 0, 48, false, SntpVerdict::OtherSender},
        {"47 bytes", SIZE_MAX, 0, 47, true, SntpVerdict::TooShort},
        {"our own request echoed", 0, 0x0B, 48, true, SntpVerdict::NotServer},
        {"broadcast", 0, 0x25, 48, true, SntpVerdict::NotServer},
        {"kiss-o'-death", 1, 0, 48, true, SntpVerdict::KissOfDeath},
        {"unsynchronised", 0, 0xE4, 48, true, SntpVerdict::Unsynchronised},
    };
    for (const Row& r : rows) {
        std::vector<uint8_t> packet = Reply(0xED058B8B, 0x80000000, r.size);
        if (r.index != SIZE_MAX) {
            packet[r.index] = r.value;
        }
        EXPECT_EQ(ReadSntpReply(packet, r.fromServer).Verdict, r.expected) << r.what;
    }
    EXPECT_EQ(ReadSntpReply(Reply(0, 0), true).Verdict, SntpVerdict::NoTime);
    EXPECT_EQ(ReadSntpReply({}, true).Verdict, SntpVerdict::TooShort);
}

TEST(SntpPacket, OnlyTheServersAddressAndPort123) {
    EXPECT_TRUE(IsFromServer(0x0100007F, 123, 0x0100007F));
    EXPECT_FALSE(IsFromServer(0x0100007F, 124, 0x0100007F));
    EXPECT_FALSE(IsFromServer(0x0200007F, 123, 0x0100007F));
}

TEST(SntpPacket, ReceiveErrorsThatKeepTheWaitGoing) {
    struct Row {
        const char* what;
        int error;
        SntpReceiveStep expected;
    };
    const Row rows[] = {
        {"WSAECONNRESET: the ICMP port unreachable of a host without NTP", 10054, SntpReceiveStep::KeepWaiting},
        {"WSAEMSGSIZE: a datagram longer than any reply", 10040, SntpReceiveStep::Dropped},
        {"WSAENETDOWN", 10050, SntpReceiveStep::EndRun},
        {"WSAECONNREFUSED", 10061, SntpReceiveStep::EndRun},
        {"WSAEINTR", 10004, SntpReceiveStep::EndRun},
        {"WSAENOTSOCK", 10038, SntpReceiveStep::EndRun},
        {"no error number", 0, SntpReceiveStep::EndRun},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AfterReceiveError(r.error), r.expected) << r.what;
    }
}

} // namespace
} // namespace lumora
