#pragma once
// The hourly time signal as the running program sounds it: the pass asks it once per tick, it
// plays the hour's bird or the cuckoo's chain through the program's one sound player, and hands
// back what to announce. The chain moves on at each end of the master's sound.

#include "clock/SystemFacts.h"
#include "settings/Settings.h"
#include "sound/SoundPlayer.h"
#include "sound/TimeSignal.h"

#include <optional>

namespace lumora {

class HourlySignal {
public:
    // listener: who hears the end of the signal's sounds (the master's sounds, which pass it on
    // to SoundEnded).
    HourlySignal(SoundPlayer& sound, SoundListener& listener, HWND master)
        : sound_(sound), listener_(listener), master_(master) {}

    // displayed: the pass's displayed time with the animation lead. When the signal fires, its
    // sound has started and the announcement is returned for the caller to show.
    std::optional<Announcement> Tick(double displayed, const Settings& settings, const SystemFacts& facts);

    // The master's own sound ended; successful false when it ended by an error.
    void SoundEnded(bool successful);
    // The user stopped the sound, or another sound of the master takes the player.
    void StopChain() { chain_.Cancel(); }
    bool ChainActive() const { return chain_.Active(); }

private:
    void PlayChainSound(const std::wstring& file);

    SoundPlayer& sound_;
    SoundListener& listener_;
    HWND master_;
    SignalTrigger trigger_;
    CuckooChain chain_;
};

} // namespace lumora
