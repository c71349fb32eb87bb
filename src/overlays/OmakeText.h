#pragma once
// The omake captions: a programme mark or one of the joke texts of a broadcast (a delay, a
// rerun notice, viewing advice), chosen at random when the clock first shows.

#include "clock/DateTimeFormat.h"

#include <functional>
#include <string>

namespace lumora {

// A random whole number in [0, count), count > 0.
using RandomPick = std::function<int(int count)>;

constexpr int OmakeTextCount = 39;
constexpr int ProgrammeMarkCount = 10;
constexpr int FirstProgrammeMarkId = 100; // bitmap resources 100 to 109

// How long a window shows a mark or a text, in milliseconds.
constexpr int OmakePictureTime = 5000;
constexpr int OmakeTextTime = 10000;

// Text number index (0 .. OmakeTextCount - 1) with its arguments drawn from pick; now is the
// local date-time (days since 1899-12-30).
std::wstring OmakeText(int index, double now, const LocaleFacts& locale, const RandomPick& pick);

// A date of a rerun's first broadcast: today moved back by one or two years, then by 0 to 11
// months; the day stays where the month has it, or becomes the month's last.
double OmakePastDate(double today, const RandomPick& pick);

// What one window shows: a mark (Mark is its number, 0 .. ProgrammeMarkCount - 1) or a text.
struct OmakeChoice {
    bool Picture = false;
    int Mark = 0;
    std::wstring Text;
};
// Mark or text by a coin toss; a text by its number drawn uniformly.
OmakeChoice ChooseOmake(double now, const LocaleFacts& locale, const RandomPick& pick);
// The text chosen in place of a mark that could not be loaded.
OmakeChoice ChooseOmakeText(double now, const LocaleFacts& locale, const RandomPick& pick);

} // namespace lumora
