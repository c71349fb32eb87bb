#pragma once
// The three clock-setting runs, each the job of a worker thread: ask an SNTP server, read a web
// server's Date header, or question the radio-clock kit on its serial port; then set the clock
// unless the run is a test, and say what happened. Whatever touches the rest of the program goes
// through the worker's hand-over to the user-interface thread.

#include "adjust/AdjustRequest.h"
#include "adjust/AdjustResults.h"
#include "clock/DateTimeFormat.h"
#include "shell/Worker.h"

#include <functional>
#include <optional>

namespace lumora {

struct AdjustJobContext {
    WorkerContext& Worker;
    LocaleFacts Locale; // a copy: the run reports in the format of its start
    // The time of the last SNTP or HTTP contact, which both sources share (user-interface thread).
    std::function<double()> LastConnectedTime;
    std::function<void(double)> SetLastConnectedTime;
    // A fault the end-to-end tests ask for: the kit's port takes no line settings.
    bool KitPortRefusesSettings = false;
};

AdjustResult RunSntpAdjust(const AdjustRequest& request, AdjustJobContext& context);
AdjustResult RunHttpAdjust(const AdjustRequest& request, AdjustJobContext& context);
AdjustResult RunKitAdjust(const AdjustRequest& request, AdjustJobContext& context);

// For the jobs: what SNTP and HTTP check before they contact anyone, the overload guard they share
// and a server to ask; a failure when either refuses or the run is being stopped.
std::optional<AdjustResult> RefusedBeforeContact(const std::wstring& title, const AdjustRequest& request,
                                                 AdjustJobContext& context);
// For the jobs: the contact is made; the guard counts from now.
void MarkConnected(AdjustJobContext& context);

// The end every source shares: the clock before, set to receivedUtc unless the run is a test,
// and the report of both. Japan time: the kit reports in its own zone rather than the computer's.
enum class ReportZone { Local, Japan };
AdjustResult ConcludeAdjust(const std::wstring& title, AdjustKind kind, double receivedUtc, ReportZone zone,
                            const LocaleFacts& locale);

} // namespace lumora
