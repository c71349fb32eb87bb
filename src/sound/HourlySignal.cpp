#include "sound/HourlySignal.h"

#include "shell/FileIo.h"
#include "clock/SystemFigures.h"

namespace lumora {
std::optional<Announcement> HourlySignal::Tick(double displayed, const Settings& settings, const SystemFacts& facts) {
    const CuckooClockSettings& cuckoo = settings.CuckooClock;
    const std::optional<HourSignal> signal = trigger_.Check(displayed, cuckoo, settings.View.VisibleHours);
    if (!signal) {
        return std::nullopt;
    }
    const bool chain = cuckoo.CuckooClockMode == CuckooClockCuckoo;
    if (chain) {
        // Whatever still plays ends before the new chain begins.
        chain_.Cancel();
        sound_.Stop();
    }
    if (const auto file = SignalSound(*signal, cuckoo, settings.Format.Hour12, chain_)) {
        if (chain) {
            PlayChainSound(*file);
        } else {
            sound_.Play(listener_, master_, nullptr, *file, false, false);
        }
    }
    const SystemFigures figures = CurrentSystemFigures();
    const AnnouncementInput input{.CuckooClock = cuckoo,
                                  .Telop = settings.Telop,
                                  .FirstSoundExists = FileExists(cuckoo.FirstCuckooClockFile),
                                  .Figures = figures,
                                  .Locale = facts.Locale};
    return Announce(*signal, input);
}

void HourlySignal::SoundEnded(bool successful) {
    if (const auto next = chain_.Ended(successful)) {
        PlayChainSound(*next);
    }
}

void HourlySignal::PlayChainSound(const std::wstring& file) {
    sound_.Play(listener_, master_, nullptr, file, false, false);
    chain_.Started(sound_.Playing());
}

} // namespace lumora
