#pragma once
// Decisions behind the notification-area icon: when adding it is tried again, its size, which
// mouse messages make a click or a double click, what fits in the icon's tip and balloon, whether
// balloons can be shown at all, how a notification is shown and sounded, and whether the
// taskbar's own clock is ours to hide or show.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// The shell can refuse to add an icon for a while as it starts at logon, and no word comes when
// it is ready. A round of tries (the icon switched on, the taskbar made again) tries at once and
// again after longer and longer waits; the icon counts as shown only once an add succeeded.
class IconAddTries {
public:
    // The waits before the second, third, ... try, in milliseconds: half a minute in all.
    static constexpr std::array<uint32_t, 5> Waits{1000, 2000, 4000, 8000, 16000};

    // A new round; its first try is due now.
    void Begin();
    // The outcome of the try just made: the wait before the next one, or nothing when the round
    // is over (added, or given up after the last wait).
    std::optional<uint32_t> Tried(bool added);
    // The icon is not wanted any more, or the shell lost it.
    void End();

    bool Added() const { return state_ == State::Added; }
    // A try is due after a wait.
    bool Waiting() const { return state_ == State::Waiting; }

private:
    enum class State { Idle, Waiting, Added };
    State state_ = State::Idle;
    size_t failed_ = 0;
};

// The icon's width and height in pixels at a DPI: the system's small-icon size, 16 at 96 DPI
// and in proportion above; an unknown or smaller DPI keeps 16.
int SmallIconSize(int dpi);

// The icon's callback messages, named apart from Windows' constants.
enum class IconMouse { LeftDown, LeftUp, RightUp, LeftDouble, RightDouble, MiddleDouble, BalloonClick, Other };
enum class IconEvent { None, Click, DoubleClick, ContextMenu, BalloonClick };

// A click is a left button that went down and came up on the icon; the button-up that ends a
// double click is not a click of its own.
class IconClickTracker {
public:
    IconEvent Feed(IconMouse message);

private:
    bool leftDown_ = false;
    bool doubleClicking_ = false;
};

// Shells before version 5 show one line in a tip of 63 characters; later ones 127.
std::wstring IconTipText(const std::wstring& hint, int shellMajorVersion, bool balloonsAvailable);

// A balloon's title is one line of at most 63 characters; its body keeps its line breaks and
// holds at most 255.
struct BalloonText {
    std::wstring Title;
    std::wstring Body;
};
BalloonText MakeBalloonText(const std::wstring& title, const std::wstring& body);

// What the system says about balloons; a registry value that cannot be read is absent.
struct BalloonFacts {
    int ShellMajorVersion = 0;
    bool NotificationAreaExists = false;
    std::optional<uint32_t> NoTrayItemsDisplay; // per-user Explorer policy
    std::optional<uint32_t> EnableBalloonTips;  // per-user Explorer setting (shell 6 and later)
};
bool BalloonsAvailable(const BalloonFacts& facts);

enum class NotifyIcon { None, Information, Exclamation, Error };

// How a notification shows: the balloon's icon, the beep after a balloon, and the message box's
// icon when no balloon can be shown. Without a beep the box still shows the information icon,
// but silently.
struct NotificationStyle {
    NotifyIcon BalloonIcon = NotifyIcon::None;
    NotifyIcon Beep = NotifyIcon::None;
    NotifyIcon BoxIcon = NotifyIcon::Information;
    bool BoxSilent = true;

    bool operator==(const NotificationStyle&) const = default;
};
NotificationStyle ChooseNotificationStyle(int balloonKind, int beepKind);

// The taskbar's own clock while ours is on screen. Only a clock that was visible is hidden, and
// only one we hid is shown again, so a clock the user hid stays hidden and ours never counts
// our own hiding as the user's.
class TaskbarClockKeeper {
public:
    // What the taskbar clock looks like now, e.g. after a settings change or an Explorer restart.
    void Observe(bool visibleNow);
    // Whether the taskbar clock is visible, or would be without us.
    bool WasVisible() const { return hiddenByUs_ || visible_; }
    // True when the clock must be hidden now.
    bool Hide(bool visibleNow);
    // True when the clock must be shown again now.
    bool Restore();

private:
    bool visible_ = false;
    bool hiddenByUs_ = false;
};

} // namespace lumora
