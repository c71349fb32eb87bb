#include "tools/TimerPower.h"

namespace lumora {

bool TimerOperationOffered(TimerOperation operation, const PowerCapabilities& power) {
    if (!power.Known) {
        return true;
    }
    switch (operation) {
    case TimerOperation::Standby:
        return power.ClassicSleep && !power.ModernStandby;
    case TimerOperation::Hibernate:
        return power.Hibernation;
    case TimerOperation::None:
    case TimerOperation::RunProgram:
    case TimerOperation::ShutDown:
        break;
    }
    return true;
}

std::vector<TimerOperation> TimerOperationList(const PowerCapabilities& power, TimerOperation current) {
    std::vector<TimerOperation> list;
    for (const TimerOperation operation : {TimerOperation::None, TimerOperation::RunProgram, TimerOperation::ShutDown,
                                           TimerOperation::Standby, TimerOperation::Hibernate}) {
        if (operation == current || TimerOperationOffered(operation, power)) {
            list.push_back(operation);
        }
    }
    return list;
}

} // namespace lumora
