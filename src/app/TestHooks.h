#pragma once
// What the end-to-end tests may ask of a running program, and nothing a user's program does:
// exists only when the environment asks for it. With LUMORA_TEST_HOOKS=1 the tests send
// WM_COPYDATA to the master to
//   1 play a sound, 2 ask whether one plays, 5 show a notification, 6 apply settings, 7 show a
//   caption, 8 start a clock-setting run, 9 describe the open popup menu, 10 time a message,
//   11 count the face's full redraws, 12 ask whether the window thread is in a single-threaded
//   COM apartment, 13 describe the last start of the elevated clock-setting copy, 15 print the
//   splash through WM_PRINTCLIENT, 18 and 19 ask the notification icon's state and width,
//   20 count the system commands a default window procedure carried out.
// The faults of LUMORA_FAULT are listed in shell/TestFaults.h; the hooks raise the one in the
// tick (tick), refuse to start it (tick-start), refuse the test pattern's window on the second
// monitor (test-pattern-2) and make the kit's port refuse its line settings (kit-port-settings).

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumora {

class MasterSounds;

struct TestHookTargets {
    HWND Master = nullptr;
    MasterSounds* Sound = nullptr;
    std::function<void(const std::wstring& text, int balloonKind, int beepKind)> ShowNotification;
    // INI text whose keys are applied over the current settings.
    std::function<void(const std::wstring& iniText)> ApplySettingsText;
    std::function<void(const std::wstring& text, bool allowSound)> ShowTelop;
    // The popup menu open now, one line per item; empty when none is open.
    std::function<std::wstring()> DescribeOpenMenu;
    // A clock-setting run of any kind (0 test … 3 manual) from a source (0 SNTP, 1 HTTP, 2 kit).
    std::function<void(int kind, int source)> StartAdjust;
    // How many passes have drawn the whole face anew.
    std::function<int()> FullRedraws;
    // The notification icon: 1 shown, 2 refused so far with another try to come, 0 neither; and
    // the width in pixels of the icon handed to the shell.
    std::function<int()> TrayIconState;
    std::function<int()> TrayIconWidth;
    // The last start of the elevated clock-setting copy: its arguments and how it ended; empty
    // when there was none.
    std::function<std::wstring()> DescribeElevatedSet;
};

class TestHooks {
public:
    // Null unless the environment asks for hooks or a fault.
    static std::unique_ptr<TestHooks> FromEnvironment(TestHookTargets targets);
    ~TestHooks();
    TestHooks(const TestHooks&) = delete;
    TestHooks& operator=(const TestHooks&) = delete;

    // Throws when the tests asked for a fault in the tick.
    void TickStarting() const;
    bool TickMayStart() const { return fault_ != Fault::TickStart; }
    // The test pattern's window for the monitor at index cannot be made.
    bool TestPatternRefused(int monitorIndex) const { return fault_ == Fault::TestPattern && monitorIndex == 1; }
    bool KitPortRefusesSettings() const { return fault_ == Fault::KitPortSettings; }
    // Whether the tests send commands (WM_COPYDATA), which must then reach the master.
    bool AcceptsCommands() const { return commands_; }
    // The hooks' messages; nothing when the message is not theirs.
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    explicit TestHooks(TestHookTargets targets) : targets_(std::move(targets)) {}
    LRESULT CopyData(const COPYDATASTRUCT& data);
    void RunPending();
    bool DescribeMenuTo(const std::wstring& file) const;
    bool DescribeElevatedSetTo(const std::wstring& file) const;
    LRESULT TimeMessageTo(const std::wstring& text) const;

    TestHookTargets targets_;
    bool commands_ = false;
    enum class Fault { None, Tick, TickStart, TestPattern, KitPortSettings } fault_ = Fault::None;
    HHOOK systemCommandHook_ = nullptr;
    std::wstring pending_; // a command carried out after the sender got its answer
    ULONG_PTR pendingKind_ = 0;
};

} // namespace lumora
