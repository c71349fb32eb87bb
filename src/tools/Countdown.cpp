#include "tools/Countdown.h"

#include "shell/AppNames.h"
#include "clock/DateTime.h"

#include <cmath>
#include <cstdio>

namespace lumora {
namespace {

constexpr double SecondsPerDay = 24 * 60 * 60;
constexpr double OneSecond = 1.0 / SecondsPerDay;

double WholeSeconds(int hour, int minute, int second) {
    return (hour * 3600 + minute * 60 + second) / SecondsPerDay;
}

} // namespace

const std::array<TimerPreset, 14> TimerPresets = {{
    {1, L"1 分"},
    {3, L"3 分"},
    {4, L"4 分"},
    {5, L"5 分"},
    {10, L"10 分"},
    {15, L"15 分"},
    {30, L"30 分"},
    {45, L"45 分"},
    {60, L"60 分 (1 時間)"},
    {90, L"90 分 (1 時間半)"},
    {120, L"120 分 (2 時間)"},
    {150, L"150 分 (2 時間半)"},
    {180, L"180 分 (3 時間)"},
    {240, L"240 分 (4 時間)"},
}};

double TimerDuration(double time) {
    const DateTimeParts parts = SplitDateTime(time);
    return WholeSeconds(parts.Hour, parts.Minute, parts.Second);
}

double PresetDuration(int minutes) {
    return TimerDuration(minutes * 60 * OneSecond);
}

bool TimerCanStart(double duration) {
    const DateTimeParts parts = SplitDateTime(duration);
    return parts.Hour != 0 || parts.Minute != 0 || parts.Second != 0;
}

std::wstring CountdownText(double span) {
    const DateTimeParts parts = SplitDateTime(span > 0 ? span : 0);
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%02d:%02d.%02d", parts.Hour, parts.Minute, parts.Second);
    return text;
}

std::wstring TimerBoxCaption() {
    return std::wstring(names::ProductName) + L" - タイマー";
}

void CountdownTimer::Start(double displayedNow, double duration) {
    due_ = displayedNow + duration;
    lastMillisecond_ = -1;
}

std::optional<double> CountdownTimer::Stop(double displayedNow) {
    const double remaining = due_ - displayedNow;
    due_ = 0;
    lastMillisecond_ = -1;
    // Whole seconds as the panel shows them; an overdue countdown has nothing left to keep.
    const double seconds = std::floor(std::llround(remaining * SecondsPerDay * 1000) / 1000.0);
    if (seconds < 1) {
        return std::nullopt;
    }
    const double left = TimerDuration(seconds * OneSecond);
    return TimerCanStart(left) ? std::optional(left) : std::nullopt;
}

std::optional<CountdownStep> CountdownTimer::Tick(double displayedNow, int millisecond) {
    if (!Running() || millisecond == lastMillisecond_) {
        return std::nullopt;
    }
    lastMillisecond_ = millisecond;
    return CountdownStep{due_ - displayedNow, due_ <= displayedNow + OneSecond};
}

TimerFiring CountdownTimer::Fire(const TimerSettings& timer, const TelopSettings& telop) {
    due_ = 0;
    lastMillisecond_ = -1;
    TimerFiring firing;
    firing.NotifyType = timer.NotifyType;
    firing.Message = choices_.Message.empty() ? std::wstring(DefaultTimerMessage) : choices_.Message;
    if (firing.NotifyType == TimerNotifyCaption) {
        const std::wstring title =
            (telop.Title.empty() ? std::wstring(names::ProductName) : telop.Title) + L" タイマー速報";
        firing.Caption = {title, firing.Message, title + L"／終"};
    } else if (firing.NotifyType == TimerNotifyBalloon) {
        firing.Notification = L"タイマー|" + firing.Message;
    }
    firing.Operation = choices_.Operation;
    if (firing.Operation == TimerOperation::RunProgram) {
        firing.Program = timer.Program;
        if (firing.Program.empty()) {
            firing.Operation = TimerOperation::None;
        }
    }
    firing.Force = firing.Operation == TimerOperation::ShutDown && choices_.Force;
    return firing;
}

} // namespace lumora
