#pragma once
// Setting the clock without the right to: a program a normal user starts may not set the clock,
// so when a run the user started is refused for that reason, the program offers to start itself
// with administrator rights in a mode that only adds the correction it measured to the clock and
// ends. Here: that mode's command line and exit codes, when the offer is made, and how often an
// automatic run's missing right is told.

#include "adjust/AdjustResults.h"
#include "clock/DateTime.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumora {

// The mode's switch; its one argument is the number of milliseconds to add to the clock.
inline constexpr std::wstring_view ElevatedSetSwitch = L"/setclock";
// A hundred years either way: more is no clock to correct but a number gone wrong.
constexpr int64_t MaxElevatedCorrectionMs = 36525LL * MillisecondsPerDay;

// The arguments that start the mode for a correction in days (rounded to milliseconds); nothing
// when the correction is out of range.
std::optional<std::wstring> ElevatedSetArguments(double correctionDays);

// The command line's arguments after the program's name. The switch anywhere asks for the mode,
// which then takes exactly one number in range; anything else is bad arguments, never a normal
// start.
enum class ElevatedSetMode { NormalStart, Set, BadArguments };
struct ElevatedSetCommand {
    ElevatedSetMode Mode = ElevatedSetMode::NormalStart;
    int64_t CorrectionMs = 0; // for Set
};
ElevatedSetCommand ParseElevatedSetCommand(std::span<const std::wstring> arguments);

// The mode's exit codes. None is 0 or 1, which a normal start ends with: a copy that took the
// command for a normal start is never read as a success.
enum class ElevatedSetExit : uint32_t { Done = 20, BadArguments = 21, NoPrivilege = 22, Failed = 23 };

// How a start of the mode ended, from the error of starting it (0: it started) and, when it
// started, its exit code.
enum class ElevatedSetOutcome { Done, Declined, NotStarted, BadArguments, NoPrivilege, Failed };
ElevatedSetOutcome ElevatedSetOutcomeOf(uint32_t startError, uint32_t exitCode);

// The system's error when the user turns down the consent prompt (ERROR_CANCELLED).
constexpr uint32_t StartDeclinedError = 1223;

// The question that offers the elevated set, under the run's title.
inline constexpr std::wstring_view ElevatedSetQuestion =
    L"現在ログオンしているユーザには時刻合わせに必要な権限がありません。\r\n"
    L"管理者の権限で時刻を合わせますか?\r\n\r\n"
    L"[はい] をクリックすると、Windows が管理者としての実行を確認します。";

// Who is asked and who is told. Runs the user started (manual runs, the zero adjustment) whose
// set was refused for want of the right are offered the elevated set, one offer at a time: a
// second refusal while one is asked or carried out is reported as it is. Automatic and start-up
// runs never ask; their missing right is told once per program run, where their results are
// shown at all.
class ClockPrivilegeRules {
public:
    // True when the run is to be offered the elevated set; the offer is then open until
    // OfferEnded.
    bool Offer(AdjustKind kind, ClockSetError error);
    void OfferEnded() { offerOpen_ = false; }

    // Whether a run's result is shown: AdjustResultShown's rule, except that the missing right
    // of an automatic or start-up run is shown only the first time.
    bool ResultShown(AdjustKind kind, ClockSetError error, bool adjustMessage);

private:
    bool offerOpen_ = false;
    bool missingRightTold_ = false;
};

} // namespace lumora
