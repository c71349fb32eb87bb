#include "settings/SettingsSwap.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace lumora {
namespace {

using namespace SwapError;

TEST(SettingsSwap, StepsAfterAFailedReplace) {
    struct Case {
        std::uint32_t error;
        int tries;
        bool targetPresent;
        SwapStep step;
    };
    const Case cases[] = {
        {SharingViolation, 1, true, SwapStep::Retry},
        {AccessDenied, 4, true, SwapStep::Retry},
        {LockViolation, 2, true, SwapStep::Retry},
        {UnableToRemoveReplaced, 1, true, SwapStep::Retry},
        {UnableToMoveReplacement, 1, true, SwapStep::Retry},
        {SharingViolation, 5, true, SwapStep::KeepOld}, // the fifth failure ends the tries
        {UnableToMoveReplacement, 5, true, SwapStep::KeepOld},
        {87, 1, true, SwapStep::KeepOld}, // ERROR_INVALID_PARAMETER leaves both files as they were
        {UnableToMoveReplacement2, 1, true, SwapStep::KeepOld},
        // The old file has left the settings name: the new one must take it, whatever the code.
        {UnableToMoveReplacement, 1, false, SwapStep::MoveIntoPlace},
        {UnableToMoveReplacement2, 1, false, SwapStep::MoveIntoPlace},
        {SharingViolation, 5, false, SwapStep::MoveIntoPlace},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepAfterReplaceFailure(c.error, c.tries, c.targetPresent), c.step)
            << c.error << " try " << c.tries << " present " << c.targetPresent;
    }
}

TEST(SettingsSwap, StepsAfterAFailedMove) {
    EXPECT_EQ(StepAfterMoveFailure(SharingViolation, 1, true), SwapStep::Retry);
    EXPECT_EQ(StepAfterMoveFailure(AccessDenied, 4, false), SwapStep::Retry);
    EXPECT_EQ(StepAfterMoveFailure(SharingViolation, 5, true), SwapStep::RestoreBackup);
    EXPECT_EQ(StepAfterMoveFailure(3, 1, true), SwapStep::RestoreBackup); // ERROR_PATH_NOT_FOUND
    EXPECT_EQ(StepAfterMoveFailure(SharingViolation, 5, false), SwapStep::KeepAsIs);
    EXPECT_EQ(StepAfterMoveFailure(3, 1, false), SwapStep::KeepAsIs);
}

// A folder of files by name, whose replace fails the ways the documentation of ReplaceFileW gives.
class FakeFolder : public SwapFiles {
public:
    enum class Leaves { BothInPlace, TargetGone, TargetAtBackup };
    struct Failure {
        std::uint32_t error;
        Leaves leaves;
    };
    std::map<std::wstring, std::wstring> files;
    std::deque<Failure> replaceFailures;
    std::deque<std::uint32_t> moveFailures;
    int pausedMilliseconds = 0;
    int replaceCalls = 0;

    std::uint32_t Replace(const std::wstring& target, const std::wstring& replacement,
                          const std::wstring& backup) override {
        ++replaceCalls;
        EXPECT_TRUE(files.count(target) && files.count(replacement));
        if (!replaceFailures.empty()) {
            const Failure failure = replaceFailures.front();
            replaceFailures.pop_front();
            if (failure.leaves == Leaves::TargetGone) {
                files.erase(target);
            } else if (failure.leaves == Leaves::TargetAtBackup) {
                files[backup] = files[target];
                files.erase(target);
            }
            return failure.error;
        }
        files[backup] = files[target];
        files[target] = files[replacement];
        files.erase(replacement);
        return None;
    }
    std::uint32_t Move(const std::wstring& from, const std::wstring& to) override {
        if (!moveFailures.empty()) {
            const std::uint32_t error = moveFailures.front();
            moveFailures.pop_front();
            return error;
        }
        if (!files.count(from)) {
            return 2; // ERROR_FILE_NOT_FOUND
        }
        files[to] = files[from];
        files.erase(from);
        return None;
    }
    bool Exists(const std::wstring& path) override { return files.count(path) > 0; }
    void Delete(const std::wstring& path) override { files.erase(path); }
    void Pause(int milliseconds) override { pausedMilliseconds += milliseconds; }

    std::map<std::wstring, std::wstring> Swap() {
        result = SwapIntoPlace(*this, L"a.ini", L"a.ini.new", L"a.ini.bak");
        return files;
    }
    bool result = false;
};

using Files = std::map<std::wstring, std::wstring>;
const Files OldAndNew = {{L"a.ini", L"old"}, {L"a.ini.new", L"new"}};
const Files NewInPlace = {{L"a.ini", L"new"}};
const Files OldInPlace = {{L"a.ini", L"old"}};

TEST(SettingsSwap, ReplacesAndLeavesNoOtherFile) {
    FakeFolder folder;
    folder.files = OldAndNew;
    folder.files[L"a.ini.bak"] = L"stale";
    EXPECT_EQ(folder.Swap(), NewInPlace);
    EXPECT_TRUE(folder.result);
    EXPECT_EQ(folder.pausedMilliseconds, 0);

    FakeFolder first; // no file yet: the new one is renamed
    first.files = {{L"a.ini.new", L"new"}};
    EXPECT_EQ(first.Swap(), NewInPlace);
    EXPECT_TRUE(first.result);
    EXPECT_EQ(first.replaceCalls, 0);
}

TEST(SettingsSwap, AFileHeldForAMomentIsReplacedOnALaterTry) {
    FakeFolder folder;
    folder.files = OldAndNew;
    folder.replaceFailures = {{SharingViolation, FakeFolder::Leaves::BothInPlace},
                              {UnableToMoveReplacement, FakeFolder::Leaves::BothInPlace},
                              {AccessDenied, FakeFolder::Leaves::BothInPlace}};
    EXPECT_EQ(folder.Swap(), NewInPlace);
    EXPECT_TRUE(folder.result);
    EXPECT_EQ(folder.replaceCalls, 4);
    EXPECT_EQ(folder.pausedMilliseconds, 3 * SwapPauseMilliseconds);
    EXPECT_LT((SwapTries - 1) * SwapPauseMilliseconds, 1000); // the whole wait stays under a second
}

TEST(SettingsSwap, AFileHeldForGoodKeepsTheOldContent) {
    FakeFolder folder;
    folder.files = OldAndNew;
    for (int i = 0; i < 10; ++i) {
        folder.replaceFailures.push_back({SharingViolation, FakeFolder::Leaves::BothInPlace});
    }
    EXPECT_EQ(folder.Swap(), OldInPlace);
    EXPECT_FALSE(folder.result);
    EXPECT_EQ(folder.replaceCalls, SwapTries);
}

TEST(SettingsSwap, AReplaceThatTookTheOldFileAwayIsFinishedByHand) {
    // 1176 without a backup kept: the target is gone, the new file still under its own name.
    FakeFolder gone;
    gone.files = OldAndNew;
    gone.replaceFailures = {{UnableToMoveReplacement, FakeFolder::Leaves::TargetGone}};
    EXPECT_EQ(gone.Swap(), NewInPlace);
    EXPECT_TRUE(gone.result);

    // 1177: the old file is under the backup name, the new one under its own.
    FakeFolder moved;
    moved.files = OldAndNew;
    moved.replaceFailures = {{UnableToMoveReplacement2, FakeFolder::Leaves::TargetAtBackup}};
    moved.moveFailures = {SharingViolation};
    EXPECT_EQ(moved.Swap(), NewInPlace);
    EXPECT_TRUE(moved.result);
    EXPECT_EQ(moved.pausedMilliseconds, SwapPauseMilliseconds);
}

TEST(SettingsSwap, WhenTheNewFileCannotTakeTheNameTheOldComesBack) {
    FakeFolder folder;
    folder.files = OldAndNew;
    folder.replaceFailures = {{UnableToMoveReplacement2, FakeFolder::Leaves::TargetAtBackup}};
    folder.moveFailures = {5, 5, 5, 5, 5}; // the backup's move back then works
    EXPECT_EQ(folder.Swap(), OldInPlace);
    EXPECT_FALSE(folder.result);

    // Nothing can be renamed at all: both copies stay, neither is deleted.
    FakeFolder stuck;
    stuck.files = OldAndNew;
    stuck.replaceFailures = {{UnableToMoveReplacement2, FakeFolder::Leaves::TargetAtBackup}};
    stuck.moveFailures = std::deque<std::uint32_t>(2 * SwapTries, SharingViolation);
    EXPECT_EQ(stuck.Swap(), (Files{{L"a.ini.bak", L"old"}, {L"a.ini.new", L"new"}}));
    EXPECT_FALSE(stuck.result);

    // The first file of all cannot be renamed: it stays, as the only copy of the settings.
    FakeFolder first;
    first.files = {{L"a.ini.new", L"new"}};
    first.moveFailures = {3};
    EXPECT_EQ(first.Swap(), (Files{{L"a.ini.new", L"new"}}));
    EXPECT_FALSE(first.result);
}

} // namespace
} // namespace lumora
