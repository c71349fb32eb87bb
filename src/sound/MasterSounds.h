#pragma once
// The master's sounds: the program's one player, the hourly signal that plays through it, and the
// other sounds of the master (the caption's, the adjustment's), to which the cuckoo's chain gives
// way. The end of playback reaches the master as MM_MCINOTIFY and comes here.

#include "sound/HourlySignal.h"
#include "sound/SoundPlayer.h"

#include <windows.h>

#include <optional>
#include <string>

namespace lumora {

class MasterSounds {
public:
    explicit MasterSounds(HWND master) : master_(master), player_(master), signal_(player_, master) {}
    MasterSounds(const MasterSounds&) = delete;
    MasterSounds& operator=(const MasterSounds&) = delete;

    // The player the dialogs' previews share.
    SoundPlayer& Player() { return player_; }
    bool Playing() const { return player_.Playing(); }

    // The hourly signal's step of the pass: its sound has started when an announcement comes back.
    std::optional<Announcement> SoundTheHour(double displayed, const Settings& settings, const SystemFacts& facts) {
        return signal_.Tick(displayed, settings, facts);
    }
    // Another sound of the master's: the cuckoo's chain gives way to it.
    void Play(const std::wstring& fileName);
    // The user's stop: the chain ends with the sound that plays.
    void Stop();
    // MM_MCINOTIFY to the master: a play that ended, well or by an error, closes the device and
    // moves the chain on when the sound was the master's.
    void Notified(WPARAM flags);
    // At the end of the run.
    void CloseDevice() { player_.CloseDevice(); }

private:
    // Closes the device after the end of playback or a stop.
    void Close();

    HWND master_;
    SoundPlayer player_;
    HourlySignal signal_;
};

} // namespace lumora
