#pragma once
// What a clock-setting run tells the user: the title, the message of each way it can fail, the
// two-line report of a success, the balloon and beep kinds, and whether the result is shown.

#include "adjust/AdjustRequest.h"
#include "clock/DateTimeFormat.h"

#include <functional>
#include <string>
#include <string_view>

namespace lumora {

// Kinds as ShowNotification takes them; a success beeps with BeepNone.
constexpr int BalloonInformation = 1;
constexpr int BalloonWarning = 2;
constexpr int BalloonError = 3;
constexpr int BeepNone = 5;

enum class AdjustFailure {
    Overloaded,     // the server was asked less than OverloadGuardMinutes ago
    NoServer,       // the request names no server
    NoInternet,     // sockets, WinINet or the connected state failed
    PortUnusable,   // the local SNTP port cannot be bound (names Request.Port)
    UnknownServer,  // the name does not resolve, or no URL form opens (names Request.Server)
    SendFailed,     // the SNTP packet did not go out
    TimedOut,       // no SNTP reply within the time-out
    ReceiveFailed,  // a reply or Date header that cannot be read
    SetClockFailed, // the system refused the new time
    KitPortNotOpen, // the serial port does not open (names Request.Server)
    KitSilent,      // nothing, or the command echoed, came back
    KitNotReady,    // the kit has not decoded a time yet
    KitBadData,     // the kit's time and date do not form a valid date-time
};

// Why the system refused a new time.
enum class ClockSetError { None, NoPrivilege, Other };

// A run of a source, or the zero adjustment: they differ in what follows a set clock.
enum class AdjustOrigin { Run, ZeroAdjustment };

struct AdjustResult {
    std::wstring Text; // title|message, as ShowNotification takes it
    int BalloonKind = BalloonError;
    int BeepKind = BalloonError;
    bool Succeeded = false;
    bool ClockSet = false;
    // When ClockSet: new time minus old time, in days, so that stamps taken on the old clock can
    // follow the change (FollowClockChange). When the set was refused for want of the right: the
    // change the run wanted, measured against the clock it would have set.
    double Correction = 0.0;
    ClockSetError SetError = ClockSetError::None;
    AdjustOrigin Origin = AdjustOrigin::Run;
    // With SetError NoPrivilege: the report of that change made after all by other means, from
    // the clock (UTC) just after it.
    std::function<AdjustResult(double afterUtc)> ReportSetAfterAll = nullptr;
};

// "<kind> <source>|", for example "手動時刻合わせ (NTP)|".
std::wstring AdjustTitle(AdjustKind kind, AdjustSource source);
// The zero adjustment is always a manual command and has no source.
std::wstring ZeroAdjustmentTitle();

// request supplies the server, port name or port number a message names.
AdjustResult AdjustFailed(std::wstring_view title, AdjustFailure failure, const AdjustRequest& request = {});

// A set the system refused: the message every source shares. For want of the right, the result
// also carries the change wanted and how to report it made after all.
AdjustResult AdjustSetRefused(std::wstring_view title, ClockSetError error, double correction,
                              std::function<AdjustResult(double afterUtc)> reportSetAfterAll);

// before: the clock when the time arrived; after: the time received (offset included), both in
// the zone the report shows. A test only reports them; any other kind has set the clock to after.
AdjustResult AdjustSucceeded(std::wstring_view title, AdjustKind kind, double before, double after,
                             const LocaleFacts& locale);

// Tests and manual runs always answer; automatic and start-up runs only with AdjustMessage on.
constexpr bool AdjustResultShown(AdjustKind kind, bool adjustMessage) {
    return kind == AdjustKind::Test || kind == AdjustKind::Manual || adjustMessage;
}

// What the master does with a result besides showing it. A run's set refreshes the notification
// area and its success plays the adjustment sound; the zero adjustment only asks the taskbar's
// clock to redraw, and has no sound of its own.
struct AdjustFollowUp {
    bool FollowClock = false; // stamps and the schedule move with the correction
    bool RefreshNotificationArea = false;
    bool RedrawTaskbarClock = false;
    bool PlaySound = false;

    bool operator==(const AdjustFollowUp&) const = default;
};
AdjustFollowUp FollowUpOf(const AdjustResult& result, bool adjustSound);

// The options dialog's answer to a test while that source's run is still going.
inline constexpr std::wstring_view AdjustBusyText = L"既に通信中です。現在行っている通信が終了するまで待ってください。";

} // namespace lumora
