// The tooltip of the icon and of the clock window, built once a displayed second each from the
// default format: the program's name, a line break and the long date.

#include "clock/DateTime.h"
#include "clock/TooltipFormat.h"

#include <benchmark/benchmark.h>

using namespace lumora;

namespace {

void ExpandDefaultTooltip(benchmark::State& state) {
    const LocaleFacts locale = JapaneseLocaleFacts();
    SystemFigures figures;
    figures.MillisecondsSinceStart = 123456789;
    double now = ComposeDateTime(2006, 4, 3, 14, 5, 30, 0);
    for (auto _ : state) {
        std::wstring text = ExpandTooltipFormat(L"\"Lumora\"\\nyyyy'年'm'月'd'日'dddd", now, figures, locale);
        benchmark::DoNotOptimize(text);
        now += MillisecondsToDays(1000);
    }
}
BENCHMARK(ExpandDefaultTooltip);

} // namespace
