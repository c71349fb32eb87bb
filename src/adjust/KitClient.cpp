// The radio-clock kit run: short text commands on a serial port (9600 baud, 8N1, no flow
// control) and the kit's replies, which keep Japan Standard Time.

#include "adjust/AdjustJobs.h"
#include "adjust/KitReplies.h"
#include "adjust/SystemClock.h"
#include "clock/DateTime.h"
#include "shell/UniqueHandle.h"

#include <optional>
#include <string>

namespace lumora {
namespace {

// Overlapped I/O, so that the program can end a run whose kit keeps it waiting.
class KitPort {
public:
    KitPort(const std::wstring& name, WorkerContext& worker) : worker_(worker) {
        port_.Reset(CreateFileW(SerialDevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr));
        done_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    ~KitPort() { worker_.SetCancel(nullptr); }
    KitPort(const KitPort&) = delete;
    KitPort& operator=(const KitPort&) = delete;

    bool Opened() const { return port_ && done_ && stop_; }

    // The line settings and time-outs; false when the port takes either not, since a port left
    // without a time-out would keep a silent kit's run waiting for ever.
    bool Configure(int32_t timeOutSeconds, bool refusedForTest) {
        DCB dcb{};
        dcb.DCBlength = sizeof(dcb);
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeOutSeconds) * 1000;
        timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(timeOutSeconds) * 1000;
        return !refusedForTest && SetCommState(port_.Get(), &dcb) && SetCommTimeouts(port_.Get(), &timeouts) &&
               worker_.SetCancel([stop = stop_.Get()] { SetEvent(stop); });
    }

    // One command, then one read of at most `length` bytes; nothing when the port fails or the
    // run is being stopped.
    std::optional<std::string> Ask(std::string_view command, size_t length) {
        DWORD count = 0;
        if (!Transfer(false, const_cast<char*>(command.data()), static_cast<DWORD>(command.size()), count)) {
            return std::nullopt;
        }
        std::string reply(length, '\0');
        if (!Transfer(true, reply.data(), static_cast<DWORD>(length), count)) {
            return std::nullopt;
        }
        reply.resize(count);
        return reply;
    }

private:
    bool Transfer(bool read, char* data, DWORD size, DWORD& count) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done_.Get();
        ResetEvent(done_.Get());
        const BOOL finished = read ? ReadFile(port_.Get(), data, size, &count, &overlapped)
                                   : WriteFile(port_.Get(), data, size, &count, &overlapped);
        if (finished) {
            return true;
        }
        if (GetLastError() != ERROR_IO_PENDING) {
            return false;
        }
        const HANDLE events[] = {done_.Get(), stop_.Get()};
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
            CancelIo(port_.Get());
            GetOverlappedResult(port_.Get(), &overlapped, &count, TRUE);
            return false;
        }
        // The port's own time-outs end a read that gets too little.
        return GetOverlappedResult(port_.Get(), &overlapped, &count, FALSE) != FALSE;
    }

    WorkerContext& worker_;
    UniqueFile port_;
    UniqueEvent done_;
    UniqueEvent stop_;
};

} // namespace

AdjustResult RunKitAdjust(const AdjustRequest& request, AdjustJobContext& context) {
    const std::wstring title = AdjustTitle(request.Kind, AdjustSource::Kit);
    const auto fail = [&](AdjustFailure failure) { return AdjustFailed(title, failure, request); };
    KitPort port(request.Server, context.Worker);
    if (!port.Opened()) {
        return fail(AdjustFailure::KitPortNotOpen);
    }
    if (!port.Configure(request.TimeOut, context.KitPortRefusesSettings)) {
        return fail(AdjustFailure::KitSilent);
    }
    const std::optional<std::string> status = port.Ask(KitStatusCommand, KitStatusReplyLength);
    switch (status ? ReadKitStatus(*status) : KitStatus::NoCommunication) {
    case KitStatus::NoCommunication:
        return fail(AdjustFailure::KitSilent);
    case KitStatus::NotReady:
        return fail(AdjustFailure::KitNotReady);
    case KitStatus::Ready:
        break;
    }
    // The date before and after the time: at midnight the two may differ, and then the exchange
    // runs once more.
    for (bool repeated : {false, true}) {
        const auto firstDate = port.Ask(KitDateCommand, KitDateReplyLength);
        const auto time = port.Ask(KitTimeCommand, KitTimeReplyLength);
        const ElapsedMilliseconds elapsed;
        const auto secondDate = port.Ask(KitDateCommand, KitDateReplyLength);
        if (!firstDate || !time || !secondDate) {
            return fail(AdjustFailure::KitBadData);
        }
        const KitTime read = ReadKitTime(*firstDate, *time, *secondDate, repeated);
        if (read.Verdict == KitVerdict::Retry) {
            continue;
        }
        if (read.Verdict == KitVerdict::Failed) {
            return fail(AdjustFailure::KitBadData);
        }
        const double receivedUtc = read.Utc + MillisecondsToDays(request.Offset + elapsed.Now());
        return ConcludeAdjust(title, request.Kind, receivedUtc, ReportZone::Japan, context.Locale);
    }
    return fail(AdjustFailure::KitBadData);
}

} // namespace lumora
