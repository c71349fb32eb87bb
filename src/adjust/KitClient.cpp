// The radio-clock kit run: short text commands on a serial port (9600 baud, 8N1, no flow
// control) and the kit's replies, which keep Japan Standard Time.

#include "adjust/AdjustJobs.h"
#include "adjust/KitLine.h"
#include "adjust/KitReplies.h"
#include "adjust/SystemClock.h"
#include "clock/DateTime.h"
#include "shell/TestFaults.h"
#include "shell/UniqueHandle.h"

#include <optional>
#include <string>

namespace lumora {
namespace {

static_assert(static_cast<BYTE>(SerialParity::None) == NOPARITY &&
              static_cast<BYTE>(SerialParity::Space) == SPACEPARITY);
static_assert(static_cast<BYTE>(SerialStopBits::One) == ONESTOPBIT &&
              static_cast<BYTE>(SerialStopBits::Two) == TWOSTOPBITS);
static_assert(static_cast<DWORD>(SerialLineControl::Off) == DTR_CONTROL_DISABLE &&
              static_cast<DWORD>(SerialLineControl::Handshake) == DTR_CONTROL_HANDSHAKE &&
              static_cast<DWORD>(SerialLineControl::Handshake) == RTS_CONTROL_HANDSHAKE);

// The rest of the block (buffer limits, event and end characters) stays as the driver has it.
void ApplyLineSettings(const SerialLineSettings& line, DCB& dcb) {
    dcb.BaudRate = line.BaudRate;
    dcb.ByteSize = line.ByteSize;
    dcb.Parity = static_cast<BYTE>(line.Parity);
    dcb.StopBits = static_cast<BYTE>(line.StopBits);
    dcb.fBinary = line.Binary;
    dcb.fParity = line.CheckParity;
    dcb.fOutxCtsFlow = line.OutxCtsFlow;
    dcb.fOutxDsrFlow = line.OutxDsrFlow;
    dcb.fDtrControl = static_cast<DWORD>(line.DtrControl);
    dcb.fRtsControl = static_cast<DWORD>(line.RtsControl);
    dcb.fDsrSensitivity = line.DsrSensitivity;
    dcb.fOutX = line.OutX;
    dcb.fInX = line.InX;
    dcb.fErrorChar = line.ReplaceErrors;
    dcb.fNull = line.DiscardNulls;
    dcb.fAbortOnError = line.AbortOnError;
    dcb.XonChar = line.XonChar;
    dcb.XoffChar = line.XoffChar;
}

// The checks of SetCommState that Wine leaves out. With the test fault "strict-dcb" the port
// refuses such a block as Windows does, so the end-to-end tests see what a user's port takes.
bool WindowsRefusesBlock(const DCB& dcb) {
    return dcb.DCBlength != sizeof(DCB) || !dcb.fBinary || dcb.XonChar == dcb.XoffChar || dcb.BaudRate == 0 ||
           dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS;
}

bool SetLineState(HANDLE port, DCB& dcb) {
    if (TestFault(L"strict-dcb") && WindowsRefusesBlock(dcb)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return SetCommState(port, &dcb) != FALSE;
}

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
        if (refusedForTest || !GetCommState(port_.Get(), &dcb)) {
            return false;
        }
        ApplyLineSettings(KitLineSettings(), dcb);
        COMMTIMEOUTS timeouts{};
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeOutSeconds) * 1000;
        timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(timeOutSeconds) * 1000;
        return SetLineState(port_.Get(), dcb) && SetCommTimeouts(port_.Get(), &timeouts) &&
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
