#pragma once
// The hourly time signal: when it fires, how often the cuckoo strikes, which sound of the chain
// comes next, and what the announcement says. Nothing here plays or shows anything: a message box
// opened inside the pass would hold the tick, so the shell acts on these values after the pass.

#include "clock/DateTimeFormat.h"
#include "settings/Settings.h"
#include "clock/TooltipFormat.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// CuckooClock.CuckooClockMode
constexpr int32_t CuckooClockOff = 0;
constexpr int32_t CuckooClockCuckoo = 1;
constexpr int32_t CuckooClockWildBird = 2;

// CuckooClock.NotifyType
constexpr int32_t SignalNotifyNone = 0;
constexpr int32_t SignalNotifyMessageBox = 1;
constexpr int32_t SignalNotifyBalloon = 2;
constexpr int32_t SignalNotifyCaption = 3;

// The instant the signal stands for: the displayed time less CuckooClockTiming, so a signal
// played early still names its own hour.
struct HourSignal {
    double Time = 0;
    int Hour = 0;
    int Minute = 0;

    bool operator==(const HourSignal&) const = default;
};

class SignalTrigger {
public:
    // Once per pass. displayed: the displayed time with the animation lead. A signal fires at most
    // once per signal second; a minute silenced by the visible hours is looked at again on every
    // tick of its second, so a change of the table within that second still counts.
    std::optional<HourSignal> Check(double displayed, const CuckooClockSettings& cuckoo,
                                    const std::array<uint8_t, MinutesPerWeek>& visibleHours);

private:
    // Armed from the start, so a program started within a signal second still sounds it.
    bool armed_ = true;
};

// How many repeat sounds strike the signal: the hour as the clock shows it (0:00 is 12 or 24),
// one at the half hour, none with CuckooClockRepeat off.
uint32_t CuckooRepeatCount(bool repeat, int hour, int minute, bool hour12);

// First sound, one repeat per stroke, last sound, each started when the previous one ended.
// Contract with the shell: play the file a call returns, then report Started with whether it
// plays; report every end of the master's sound to Ended. A sound that fails, to start or while
// playing, ends the chain: nothing else would ever end it, and the next sound of the master
// (the caption's or the adjustment's) would otherwise resume it out of place.
class CuckooChain {
public:
    // A new signal drops whatever chain still runs. No file when the first sound has no name.
    std::optional<std::wstring> Start(uint32_t repeatCount, const CuckooClockSettings& cuckoo);
    void Started(bool playing);
    // The end of the master's sound; successful false when it ended by an error. Ends that arrive
    // while a sound of the chain is being started belong to the sound it replaces.
    std::optional<std::wstring> Ended(bool successful);
    // A click on the icon, the clock or a balloon, or another sound of the master.
    void Cancel() { state_ = State::Idle; }

    bool Active() const { return state_ != State::Idle; }

private:
    enum class State { Idle, Starting, Playing };
    enum class Sound { First, Repeat, Last };

    std::optional<std::wstring> Next(Sound sound, const std::wstring& file);

    State state_ = State::Idle;
    Sound current_ = Sound::First;
    uint32_t repeatCount_ = 0;
    uint32_t repeatsPlayed_ = 0;
    std::wstring repeatFile_;
    std::wstring lastFile_;
};

// What a fired signal plays first: the hour's bird, or the first sound of a new chain. No file
// with the signal off or a sound without a name.
std::optional<std::wstring> SignalSound(const HourSignal& signal, const CuckooClockSettings& cuckoo, bool hour12,
                                        CuckooChain& chain);

enum class AnnouncementKind { None, MessageBox, Balloon, Caption };

struct Announcement {
    AnnouncementKind Kind = AnnouncementKind::None;
    std::wstring Text;                   // in every case also the clock's hint text
    std::wstring BoxCaption;             // MessageBox: information icon, brought to the foreground
    std::wstring Notification;           // Balloon: "title|body", information balloon and beep
    std::array<std::wstring, 3> Caption; // Caption: its three lines
    bool CaptionSound = false;           // Caption: play its own sound, which ends any chain

    bool operator==(const Announcement&) const = default;
};

struct AnnouncementInput {
    const CuckooClockSettings& CuckooClock;
    const TelopSettings& Telop;
    bool FirstSoundExists = false; // FirstCuckooClockFile, in either mode
    const SystemFigures& Figures;
    const LocaleFacts& Locale;
};

// The announcement text in the format language, formatted with the signal's own time.
Announcement Announce(const HourSignal& signal, const AnnouncementInput& input);

} // namespace lumora
