#include "settings/SettingsSwap.h"

namespace lumora {
namespace {

// Errors that another process holding one of the files gives; they pass when it lets go.
bool IsPassing(std::uint32_t error) {
    switch (error) {
    case SwapError::AccessDenied:
    case SwapError::SharingViolation:
    case SwapError::LockViolation:
    case SwapError::UnableToRemoveReplaced:
    case SwapError::UnableToMoveReplacement:
        return true;
    default:
        return false;
    }
}

// Renames `from` to `target`, with the pauses and fallbacks of a move.
bool MoveWithTries(SwapFiles& files, const std::wstring& from, const std::wstring& target, const std::wstring& backup,
                   bool restoring) {
    for (int tries = 1;; ++tries) {
        const std::uint32_t error = files.Move(from, target);
        if (error == SwapError::None) {
            return true;
        }
        switch (StepAfterMoveFailure(error, tries, !restoring && files.Exists(backup))) {
        case SwapStep::Retry:
            files.Pause(SwapPauseMilliseconds);
            break;
        case SwapStep::RestoreBackup:
            MoveWithTries(files, backup, target, backup, true);
            return false;
        default:
            return false;
        }
    }
}

bool MoveIntoPlace(SwapFiles& files, const std::wstring& target, const std::wstring& replacement,
                   const std::wstring& backup) {
    if (!MoveWithTries(files, replacement, target, backup, false)) {
        // With the old content back under the settings name, the new file is a copy no one reads.
        if (files.Exists(target) && files.Exists(replacement)) {
            files.Delete(replacement);
        }
        return false;
    }
    files.Delete(backup);
    return true;
}

} // namespace

SwapStep StepAfterReplaceFailure(std::uint32_t error, int tries, bool targetPresent) {
    if (!targetPresent) {
        return SwapStep::MoveIntoPlace;
    }
    if (IsPassing(error) && tries < SwapTries) {
        return SwapStep::Retry;
    }
    return SwapStep::KeepOld;
}

SwapStep StepAfterMoveFailure(std::uint32_t error, int tries, bool backupPresent) {
    if (IsPassing(error) && tries < SwapTries) {
        return SwapStep::Retry;
    }
    return backupPresent ? SwapStep::RestoreBackup : SwapStep::KeepAsIs;
}

bool SwapIntoPlace(SwapFiles& files, const std::wstring& target, const std::wstring& replacement,
                   const std::wstring& backup) {
    if (!files.Exists(target)) {
        return MoveIntoPlace(files, target, replacement, backup);
    }
    // A backup left by an earlier run is stale while the settings file itself is there.
    files.Delete(backup);
    for (int tries = 1;; ++tries) {
        const std::uint32_t error = files.Replace(target, replacement, backup);
        if (error == SwapError::None) {
            files.Delete(backup);
            return true;
        }
        switch (StepAfterReplaceFailure(error, tries, files.Exists(target))) {
        case SwapStep::Retry:
            files.Pause(SwapPauseMilliseconds);
            break;
        case SwapStep::MoveIntoPlace:
            return MoveIntoPlace(files, target, replacement, backup);
        default:
            files.Delete(replacement);
            return false;
        }
    }
}

} // namespace lumora
