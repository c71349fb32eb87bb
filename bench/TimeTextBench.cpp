// The time text with the default settings, as every pass builds it about 30 times a second:
// the text alone, and with the displayed time split before and after the animation lead.

#include "clock/TimeText.h"

#include <benchmark/benchmark.h>

using namespace lumora;

namespace {

const FormatSettings Format;
const AnimationSettings Animation;
const WorldClockSettings WorldClock;

TimeText Build(const DateTimeParts& taken, const DateTimeParts& shown) {
    return BuildTimeText({.Format = Format,
                          .Animation = Animation,
                          .Alignment = AlignRight,
                          .TimeFormat = L"h:nn",
                          .Taken = taken,
                          .Shown = shown,
                          .PreviousText = L" 2:05"});
}

void BuildDefaultTimeText(benchmark::State& state) {
    const DateTimeParts parts = SplitDateTime(ComposeDateTime(2006, 4, 3, 14, 5, 30, 0));
    for (auto _ : state) {
        TimeText text = Build(parts, parts);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BuildDefaultTimeText);

void DefaultTimeTextFromNow(benchmark::State& state) {
    double now = ComposeDateTime(2006, 4, 3, 14, 5, 30, 0);
    for (auto _ : state) {
        const double displayed = DisplayedTime(now, WorldClock, -540);
        TimeText text = Build(SplitDateTime(displayed), SplitDateTime(WithAnimationLead(displayed, Animation)));
        benchmark::DoNotOptimize(text);
        now += MillisecondsToDays(33);
    }
}
BENCHMARK(DefaultTimeTextFromNow);

} // namespace
