#pragma once
// The countdown timer: its duration, start and stop, the rule that fires it, the presets of the
// duration's menu, and what a firing announces and does. Nothing here shows or starts anything:
// the master asks on every pass and carries out the plan a firing returns.

#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

// Timer.NotifyType
constexpr int32_t TimerNotifyNone = 0;
constexpr int32_t TimerNotifyMessageBox = 1;
constexpr int32_t TimerNotifyBalloon = 2;
constexpr int32_t TimerNotifyCaption = 3;

// The announcement when the user wrote none.
inline constexpr wchar_t DefaultTimerMessage[] = L"タイマーで設定した時間になりました。";

// What a firing does, in the order of the dialog's list.
enum class TimerOperation : int32_t { None, RunProgram, ShutDown, Standby, Hibernate };

struct TimerPreset {
    int Minutes;
    std::wstring_view Caption;
};
// The duration's pop-up menu, top to bottom.
extern const std::array<TimerPreset, 14> TimerPresets;

// The duration a date-time value stands for: its time of day in whole seconds (the picker holds
// nothing else).
double TimerDuration(double time);
double PresetDuration(int minutes);
// The start is offered only for a duration with a non-zero hour, minute or second.
bool TimerCanStart(double duration);
// "HH:mm.ss" of a span; a span that has run out shows 00:00.00.
std::wstring CountdownText(double span);

// The caption of the timer's message boxes, announcement and failures alike.
std::wstring TimerBoxCaption();

// The choices of this run that the settings file does not keep; the dialog edits them while no
// countdown runs.
struct TimerChoices {
    std::wstring Message; // empty: DefaultTimerMessage
    TimerOperation Operation = TimerOperation::None;
    bool Force = false; // shut down even when programs do not answer
};

// What a firing does, in this order: the caption, the operation, then the box or the balloon.
struct TimerFiring {
    int32_t NotifyType = TimerNotifyNone;
    std::wstring Message;
    std::array<std::wstring, 3> Caption;             // TimerNotifyCaption: its three lines
    std::wstring Notification;                       // TimerNotifyBalloon: "title|body"
    TimerOperation Operation = TimerOperation::None; // RunProgram only with a program to run
    std::wstring Program;
    bool Force = false;

    bool operator==(const TimerFiring&) const = default;
};

struct CountdownStep {
    double Remaining = 0;
    bool Fire = false;
};

// All times are displayed times: a change of the world-clock display moves the firing moment.
class CountdownTimer {
public:
    bool Running() const { return due_ != 0; }
    // The displayed time at which it fires; 0 while idle.
    double Due() const { return due_; }
    TimerChoices& Choices() { return choices_; }
    const TimerChoices& Choices() const { return choices_; }

    void Start(double displayedNow, double duration);
    // The user's stop. The time left, in whole seconds, becomes the new duration when at least
    // one second is left; an overdue countdown (the computer slept, the clock was set forward)
    // leaves the duration alone.
    std::optional<double> Stop(double displayedNow);
    // Once per pass; nothing while idle or when the millisecond has not moved since the last step.
    // Fires up to one second early, so the announcement falls on the second it names.
    std::optional<CountdownStep> Tick(double displayedNow, int millisecond);
    // Ends the countdown; the duration stays as it was.
    TimerFiring Fire(const TimerSettings& timer, const TelopSettings& telop);

private:
    double due_ = 0;
    int lastMillisecond_ = -1;
    TimerChoices choices_;
};

} // namespace lumora
