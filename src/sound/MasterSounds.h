#pragma once
// The master's sounds: the program's one player, the hourly signal that plays through it, and the
// other sounds of the master (the caption's, the adjustment's), to which the cuckoo's chain gives
// way. MCI tells the master window the end of playback as MM_MCINOTIFY; it comes here, and the end
// of a sound of the master's moves the chain on.

#include "sound/HourlySignal.h"
#include "sound/SoundPlayer.h"

#include <windows.h>

#include <optional>
#include <string>

namespace lumora {

class MasterSounds final : private SoundListener {
public:
    explicit MasterSounds(HWND master) : master_(master), player_(master), signal_(player_, *this, master) {}
    MasterSounds(const MasterSounds&) = delete;
    MasterSounds& operator=(const MasterSounds&) = delete;

    // The player the dialogs' previews share.
    SoundPlayer& Player() { return player_; }
    bool Playing() const { return player_.Playing(); }

    // The hourly signal's step of the pass: its sound has started when an announcement comes back.
    std::optional<Announcement> SoundTheHour(double displayed, const Settings& settings, const SystemFacts& facts) {
        return signal_.Tick(displayed, settings, facts);
    }
    // Another sound of the master's: the cuckoo's chain gives way to it. Only an interactive
    // play reports a failure.
    void Play(const std::wstring& fileName, bool interactive = false);
    // The user's stop: the chain ends with the sound that plays, whoever's it is.
    void Stop();
    // MM_MCINOTIFY to the master.
    void Notified(WPARAM flags) { player_.Notified(flags); }

private:
    void SoundEnded(bool successful) override { signal_.SoundEnded(successful); }

    HWND master_;
    SoundPlayer player_;
    HourlySignal signal_;
};

} // namespace lumora
