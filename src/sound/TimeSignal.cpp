#include "sound/TimeSignal.h"

#include "shell/AppNames.h"
#include "clock/DateTime.h"
#include "clock/Visibility.h"

namespace lumora {

std::optional<HourSignal> SignalTrigger::Check(double displayed, const CuckooClockSettings& cuckoo,
                                               const std::array<uint8_t, MinutesPerWeek>& visibleHours) {
    if (cuckoo.CuckooClockMode == CuckooClockOff) {
        return std::nullopt;
    }
    const double signalTime = displayed - MillisecondsToDays(cuckoo.CuckooClockTiming);
    const DateTimeParts t = SplitDateTime(signalTime);
    const bool signalSecond = t.Second == 0 && (t.Minute == 0 || (t.Minute == 30 && cuckoo.CuckooClock30));
    if (!signalSecond) {
        armed_ = true;
        return std::nullopt;
    }
    if (!armed_) {
        return std::nullopt;
    }
    // The day of the signal too: an early signal for Monday 0:00 sounds on Sunday evening.
    if (cuckoo.InVisibleSilent && VisibleHoursEntry(visibleHours, t.DayOfWeek, t.Hour, t.Minute) == EntryHidden) {
        return std::nullopt;
    }
    armed_ = false;
    return HourSignal{signalTime, t.Hour, t.Minute};
}

uint32_t CuckooRepeatCount(bool repeat, int hour, int minute, bool hour12) {
    if (!repeat) {
        return 0;
    }
    if (minute != 0) {
        return 1;
    }
    if (hour == 0) {
        return hour12 ? 12 : 24;
    }
    return static_cast<uint32_t>(hour12 && hour > 12 ? hour - 12 : hour);
}

std::optional<std::wstring> CuckooChain::Start(uint32_t repeatCount, const CuckooClockSettings& cuckoo) {
    repeatCount_ = repeatCount;
    repeatsPlayed_ = 0;
    repeatFile_ = cuckoo.RepeatCuckooClockFile;
    lastFile_ = cuckoo.LastCuckooClockFile;
    return Next(Sound::First, cuckoo.FirstCuckooClockFile);
}

void CuckooChain::Started(bool playing) {
    if (state_ != State::Starting) {
        return;
    }
    // Once the last sound plays there is nothing left to continue.
    state_ = playing && current_ != Sound::Last ? State::Playing : State::Idle;
}

std::optional<std::wstring> CuckooChain::Ended(bool successful) {
    if (state_ != State::Playing) {
        return std::nullopt;
    }
    if (!successful) {
        state_ = State::Idle;
        return std::nullopt;
    }
    if (repeatsPlayed_ < repeatCount_) {
        ++repeatsPlayed_;
        return Next(Sound::Repeat, repeatFile_);
    }
    return Next(Sound::Last, lastFile_);
}

// A sound without a name cannot start; it ends the chain like any failed sound.
std::optional<std::wstring> CuckooChain::Next(Sound sound, const std::wstring& file) {
    if (file.empty()) {
        state_ = State::Idle;
        return std::nullopt;
    }
    current_ = sound;
    state_ = State::Starting;
    return file;
}

std::optional<std::wstring> SignalSound(const HourSignal& signal, const CuckooClockSettings& cuckoo, bool hour12,
                                        CuckooChain& chain) {
    switch (cuckoo.CuckooClockMode) {
    case CuckooClockCuckoo:
        return chain.Start(CuckooRepeatCount(cuckoo.CuckooClockRepeat, signal.Hour, signal.Minute, hour12), cuckoo);
    case CuckooClockWildBird: {
        // The bird replaces a chain still running from the other mode: one sound at a time.
        chain.Cancel();
        const std::wstring& bird = cuckoo.WildBirdSound[static_cast<size_t>(signal.Hour) % 24];
        return bird.empty() ? std::nullopt : std::optional(bird);
    }
    default:
        return std::nullopt;
    }
}

Announcement Announce(const HourSignal& signal, const AnnouncementInput& input) {
    const CuckooClockSettings& cuckoo = input.CuckooClock;
    Announcement result;
    switch (cuckoo.NotifyType) {
    case SignalNotifyMessageBox:
        result.Kind = AnnouncementKind::MessageBox;
        break;
    case SignalNotifyBalloon:
        result.Kind = AnnouncementKind::Balloon;
        break;
    case SignalNotifyCaption:
        result.Kind = AnnouncementKind::Caption;
        break;
    default:
        break;
    }

    const std::wstring format = cuckoo.Message.empty() ? L"\"" + std::wstring(names::ProductName) +
                                                             L" が \"h\" 時 \"nn\" 分をお知らせします。\""
                                                       : cuckoo.Message;
    result.Text = ExpandTooltipFormat(format, signal.Time, input.Figures, input.Locale);

    switch (result.Kind) {
    case AnnouncementKind::MessageBox:
        result.BoxCaption = std::wstring(names::ProductName) + L" - 時報";
        break;
    case AnnouncementKind::Balloon:
        result.Notification = L"時報|" + result.Text;
        break;
    case AnnouncementKind::Caption: {
        const std::wstring title =
            (input.Telop.Title.empty() ? std::wstring(names::ProductName) : input.Telop.Title) + L" 時報";
        result.Caption = {title, result.Text, title + L"／終"};
        result.CaptionSound = input.Telop.Sound && !input.FirstSoundExists;
        break;
    }
    case AnnouncementKind::None:
        break;
    }
    return result;
}

} // namespace lumora
