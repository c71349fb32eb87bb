#pragma once
// How often the master tick runs: about 30 passes a second, never faster than the timer device
// can deliver.

namespace lumora {

constexpr int MinimumTickPeriod = 33;

constexpr int ChooseTickPeriod(bool deviceQueried, unsigned deviceMinimum) {
    if (!deviceQueried || deviceMinimum < static_cast<unsigned>(MinimumTickPeriod)) {
        return MinimumTickPeriod;
    }
    return deviceMinimum > 1000u ? 1000 : static_cast<int>(deviceMinimum);
}

} // namespace lumora
