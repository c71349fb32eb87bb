#include "adjust/ClockPrivilege.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <utility>

namespace lumora {
namespace {

bool IsSwitch(const std::wstring& argument) {
    return argument.size() == ElevatedSetSwitch.size() &&
           std::equal(argument.begin(), argument.end(), ElevatedSetSwitch.begin(), [](wchar_t a, wchar_t b) {
               return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(a))) == b;
           });
}

// An optional sign and up to 15 ASCII digits: enough for the range, and no overflow on the way.
std::optional<int64_t> ParseMilliseconds(const std::wstring& text) {
    constexpr size_t MaxDigits = 15;
    size_t at = text.empty() || (text[0] != L'-' && text[0] != L'+') ? 0 : 1;
    const size_t digits = text.size() - at;
    if (digits == 0 || digits > MaxDigits) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < L'0' || text[at] > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[at] - L'0');
    }
    return text[0] == L'-' ? -value : value;
}

bool InRange(int64_t milliseconds) {
    return milliseconds >= -MaxElevatedCorrectionMs && milliseconds <= MaxElevatedCorrectionMs;
}

} // namespace

std::optional<std::wstring> ElevatedSetArguments(double correctionDays) {
    const double milliseconds = std::round(correctionDays * MillisecondsPerDay);
    if (!std::isfinite(milliseconds) || std::fabs(milliseconds) > static_cast<double>(MaxElevatedCorrectionMs)) {
        return std::nullopt;
    }
    return std::wstring(ElevatedSetSwitch) + L" " + std::to_wstring(static_cast<int64_t>(milliseconds));
}

ElevatedSetCommand ParseElevatedSetCommand(std::span<const std::wstring> arguments) {
    if (std::none_of(arguments.begin(), arguments.end(), IsSwitch)) {
        return {};
    }
    if (arguments.size() == 2 && IsSwitch(arguments[0])) {
        if (const auto milliseconds = ParseMilliseconds(arguments[1]); milliseconds && InRange(*milliseconds)) {
            return {ElevatedSetMode::Set, *milliseconds};
        }
    }
    return {ElevatedSetMode::BadArguments};
}

ElevatedSetOutcome ElevatedSetOutcomeOf(uint32_t startError, uint32_t exitCode) {
    if (startError == StartDeclinedError) {
        return ElevatedSetOutcome::Declined;
    }
    if (startError != 0) {
        return ElevatedSetOutcome::NotStarted;
    }
    switch (static_cast<ElevatedSetExit>(exitCode)) {
    case ElevatedSetExit::Done:
        return ElevatedSetOutcome::Done;
    case ElevatedSetExit::BadArguments:
        return ElevatedSetOutcome::BadArguments;
    case ElevatedSetExit::NoPrivilege:
        return ElevatedSetOutcome::NoPrivilege;
    case ElevatedSetExit::Failed:
        break;
    }
    return ElevatedSetOutcome::Failed;
}

bool ClockPrivilegeRules::Offer(AdjustKind kind, ClockSetError error) {
    if (kind != AdjustKind::Manual || error != ClockSetError::NoPrivilege || offerOpen_) {
        return false;
    }
    offerOpen_ = true;
    return true;
}

bool ClockPrivilegeRules::ResultShown(AdjustKind kind, ClockSetError error, bool adjustMessage) {
    if (!AdjustResultShown(kind, adjustMessage)) {
        return false;
    }
    const bool unasked = kind == AdjustKind::Automatic || kind == AdjustKind::Startup;
    if (unasked && error == ClockSetError::NoPrivilege) {
        return !std::exchange(missingRightTold_, true);
    }
    return true;
}

} // namespace lumora
