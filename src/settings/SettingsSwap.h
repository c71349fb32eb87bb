#pragma once
// How a freshly written settings file takes the place of the old one. The swap can fail half-way
// (a virus scanner or the indexer holding a file is enough); whatever happens, the settings name
// ends up holding the old or the new content, and a file that is the only copy is never deleted.

#include <cstdint>
#include <string>

namespace lumora {

// The Windows error codes the swap tells apart.
namespace SwapError {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t SharingViolation = 32;
constexpr std::uint32_t LockViolation = 33;
constexpr std::uint32_t UnableToRemoveReplaced = 1175;
constexpr std::uint32_t UnableToMoveReplacement = 1176;
constexpr std::uint32_t UnableToMoveReplacement2 = 1177;
} // namespace SwapError

// A held file is usually let go within a fraction of a second: a few tries, all within a second.
constexpr int SwapTries = 5;
constexpr int SwapPauseMilliseconds = 150;

enum class SwapStep {
    Retry,         // try the same call again after a pause
    MoveIntoPlace, // the old file has left the settings name: rename the new file to it
    RestoreBackup, // the new file cannot take the name: put the old one back
    KeepOld,       // the old file is still in place: drop the new file
    KeepAsIs,      // nothing more can be done; every file stays where it is
};

// After the replace call failed with `error` on try number `tries`; `targetPresent` tells whether
// a file is still under the settings name.
SwapStep StepAfterReplaceFailure(std::uint32_t error, int tries, bool targetPresent);

// After renaming the new file (or, when restoring, the backup) to the settings name failed.
// `backupPresent` is false while restoring, as there is nothing further to fall back on.
SwapStep StepAfterMoveFailure(std::uint32_t error, int tries, bool backupPresent);

// The file operations of the swap; each call answers 0 or a Windows error code.
class SwapFiles {
public:
    virtual ~SwapFiles() = default;
    // Replaces `target` by `replacement`, the old file going to `backup` on the way.
    virtual std::uint32_t Replace(const std::wstring& target, const std::wstring& replacement,
                                  const std::wstring& backup) = 0;
    // Renames `from` to `to`, replacing a file already there.
    virtual std::uint32_t Move(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    virtual void Delete(const std::wstring& path) = 0;
    virtual void Pause(int milliseconds) = 0;
};

// Puts `replacement` under the name `target` (which may not exist yet), using `backup` as the
// old file's name on the way. Returns whether the target now holds the new content; when it does
// not, it holds the old content, or (when neither could take the name) the files keep theirs.
bool SwapIntoPlace(SwapFiles& files, const std::wstring& target, const std::wstring& replacement,
                   const std::wstring& backup);

} // namespace lumora
