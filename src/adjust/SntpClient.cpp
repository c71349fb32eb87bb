// The SNTP run: one request over UDP (Windows Sockets 1.1) to the server's port 123, and the
// first reply that really comes from that server and carries its time.

#include "adjust/AdjustJobs.h"
#include "adjust/SntpPacket.h"
#include "adjust/SystemClock.h"
#include "clock/DateTime.h"
#include "shell/FileIo.h"
#include "shell/TestFaults.h"
#include "shell/UniqueSocket.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <vector>

// Not in every SDK's headers; the number is Windows' own.
#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

namespace lumora {
namespace {

// The sockets library for the length of a run.
class SocketsLibrary {
public:
    SocketsLibrary() {
        WSADATA data{};
        started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~SocketsLibrary() {
        if (started_) {
            WSACleanup();
        }
    }
    SocketsLibrary(const SocketsLibrary&) = delete;
    SocketsLibrary& operator=(const SocketsLibrary&) = delete;
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

enum class WaitResult { Readable, TimedOut, Failed, Stopped };

// Short slices, so that a run the program ends stops within a moment.
WaitResult WaitReadable(SOCKET socket, DWORD deadline, const WorkerContext& worker) {
    constexpr DWORD Slice = 100;
    for (;;) {
        if (worker.StopRequested()) {
            return WaitResult::Stopped;
        }
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(deadline - now) <= 0) {
            return WaitResult::TimedOut;
        }
        const DWORD wait = std::min<DWORD>(deadline - now, Slice);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket, &readable);
        timeval timeout{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000 * 1000)};
        const int ready = select(0, &readable, nullptr, nullptr, &timeout);
        if (ready == SOCKET_ERROR) {
            return WaitResult::Failed;
        }
        if (ready > 0) {
            return WaitResult::Readable;
        }
    }
}

// Windows makes the next receive of an unconnected UDP socket fail with WSAECONNRESET once an
// ICMP "port unreachable" came back for something it sent; off, the socket only hears datagrams.
// A system that does not know the switch keeps the report, which the receive loop waits past.
void ReportNoPortUnreachable(SOCKET socket) {
    BOOL report = FALSE;
    DWORD returned = 0;
    WSAIoctl(socket, SIO_UDP_CONNRESET, &report, sizeof(report), nullptr, 0, &returned, nullptr, nullptr);
}

// What the receive after the ICMP "port unreachable" of a host without NTP gives on Windows. Linux
// keeps that report from an unconnected socket, so under Wine only the test fault "udp-connreset"
// shows it: the first wait finds the socket readable and the receive fails.
int PortUnreachableForTest() {
    WSASetLastError(WSAECONNRESET);
    return SOCKET_ERROR;
}

} // namespace

AdjustResult RunSntpAdjust(const AdjustRequest& request, AdjustJobContext& context) {
    const std::wstring title = AdjustTitle(request.Kind, AdjustSource::Ntp);
    const auto fail = [&](AdjustFailure failure) { return AdjustFailed(title, failure, request); };
    if (auto refused = RefusedBeforeContact(title, request, context)) {
        return *refused;
    }
    const SocketsLibrary sockets;
    if (!sockets.Started()) {
        return fail(AdjustFailure::NoInternet);
    }
    const UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, 0));
    if (!socket) {
        return fail(AdjustFailure::NoInternet);
    }
    ReportNoPortUnreachable(socket.Get());
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(request.Port);
    if (bind(socket.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) == SOCKET_ERROR) {
        return fail(AdjustFailure::PortUnusable);
    }
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0)) {
        return fail(AdjustFailure::NoInternet);
    }
    const hostent* host = gethostbyname(EncodeAnsi(request.Server).c_str());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        return fail(AdjustFailure::UnknownServer);
    }
    MarkConnected(context);

    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(SntpServerPort);
    memcpy(&server.sin_addr, host->h_addr_list[0], sizeof(server.sin_addr));
    const auto packet = SntpRequest();
    const ElapsedMilliseconds sinceSent;
    if (sendto(socket.Get(), reinterpret_cast<const char*>(packet.data()), static_cast<int>(packet.size()), 0,
               reinterpret_cast<const sockaddr*>(&server), sizeof(server)) != static_cast<int>(packet.size())) {
        return fail(AdjustFailure::SendFailed);
    }

    // Datagrams from anyone else, and replies without a usable time, are read and dropped: only
    // the server's own answer may set the clock.
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(request.TimeOut) * 1000;
    bool dropped = false;
    bool portUnreachable = TestFault(L"udp-connreset");
    std::vector<uint8_t> datagram(2048);
    for (;;) {
        switch (portUnreachable ? WaitResult::Readable : WaitReadable(socket.Get(), deadline, context.Worker)) {
        case WaitResult::Readable:
            break;
        case WaitResult::TimedOut:
            return fail(dropped ? AdjustFailure::ReceiveFailed : AdjustFailure::TimedOut);
        case WaitResult::Failed:
        case WaitResult::Stopped:
            return fail(AdjustFailure::ReceiveFailed);
        }
        sockaddr_in sender{};
        int senderSize = sizeof(sender);
        const int received = portUnreachable ? PortUnreachableForTest()
                                             : recvfrom(socket.Get(), reinterpret_cast<char*>(datagram.data()),
                                                        static_cast<int>(datagram.size()), 0,
                                                        reinterpret_cast<sockaddr*>(&sender), &senderSize);
        portUnreachable = false;
        const ElapsedMilliseconds elapsed;
        const int roundTrip = sinceSent.Now();
        if (received == SOCKET_ERROR) {
            switch (AfterReceiveError(WSAGetLastError())) {
            case SntpReceiveStep::Dropped:
                dropped = true;
                continue;
            case SntpReceiveStep::KeepWaiting:
                continue;
            case SntpReceiveStep::EndRun:
                return fail(AdjustFailure::ReceiveFailed);
            }
        }
        const bool fromServer = IsFromServer(sender.sin_addr.s_addr, ntohs(sender.sin_port), server.sin_addr.s_addr);
        const SntpReply reply =
            ReadSntpReply(std::span<const uint8_t>(datagram.data(), static_cast<size_t>(received)), fromServer);
        if (reply.Verdict != SntpVerdict::Accepted) {
            dropped = true;
            continue;
        }
        // The server stamped its reply about half the round trip before it arrived.
        const double receivedUtc = reply.Utc + MillisecondsToDays(request.Offset + roundTrip / 2 + elapsed.Now());
        return ConcludeAdjust(title, request.Kind, receivedUtc, ReportZone::Local, context.Locale);
    }
}

} // namespace lumora
