#pragma once
// Which of the timer's operations this computer can carry out. A computer with modern standby
// has no sleep an application can ask for, and hibernation needs its file: the timer offers only
// what the power capabilities report.

#include "tools/Countdown.h"

#include <vector>

namespace lumora {

struct PowerCapabilities {
    bool Known = false;         // the capabilities could be read
    bool ClassicSleep = false;  // sleep state S1, S2 or S3
    bool Hibernation = false;   // S4 with a hibernation file
    bool ModernStandby = false; // sleep is "always on, always connected": no S1 to S3 to ask for
};

// Whether the computer can do the operation. Unread capabilities allow everything: the operation
// itself then tells when it fails.
bool TimerOperationOffered(TimerOperation operation, const PowerCapabilities& power);

// The dialog's operation list, in the order of TimerOperation: every operation offered, and the
// current choice even when it is not, so that it is kept and not changed behind the user's back.
std::vector<TimerOperation> TimerOperationList(const PowerCapabilities& power, TimerOperation current);

} // namespace lumora
