#pragma once
// How the program tells the user something happened: the hourly signal, the timer and the
// setting of the clock all announce through here. A message box or a balloon comes after the
// pass that decided it (a box opened inside the pass would hold the tick, and the face would stand
// still until someone answered it); a caption opens at once.

#include "app/AfterPass.h"
#include "sound/TimeSignal.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>

namespace lumora {

class Announcer {
public:
    // The balloon and beep kind of an information notification.
    static constexpr int Information = 1;

    struct Outlets {
        // The clock window, passed over when choosing a box's owner.
        std::function<HWND()> ClockWindow;
        // The icon's notification; where no balloon can show it is a message box.
        std::function<void(const std::wstring& text, int balloonKind, int beepKind)> Notify;
        // Opens the caption (lines separated by CR LF); false when nothing showed.
        std::function<bool(const std::wstring& text, bool allowSound)> ShowCaption;
    };

    // message: posted to master to run what waits for the end of the pass.
    Announcer(HWND master, UINT message, Outlets outlets);

    // Runs the waiting work when message is this announcer's; false for any other message.
    bool HandleMessage(UINT message);

    // Work for after the pass, in order and one at a time.
    void Later(std::function<void()> work);
    // The window a box of the program takes as its owner: the program's active window other than
    // the clock, else the desktop.
    HWND BoxOwner() const;
    // An information box, after the pass.
    void MessageBoxLater(std::wstring text, std::wstring caption);
    // The notification now (inside work that already runs after the pass), or after the pass.
    void Notify(const std::wstring& text, int balloonKind = Information, int beepKind = Information) const;
    void NotifyLater(std::wstring text, int balloonKind = Information, int beepKind = Information);
    // A caption of three lines, at once.
    void Caption(const std::array<std::wstring, 3>& lines, bool allowSound) const;

    // The hour's announcement in the way the settings chose.
    void Announce(const Announcement& hour);

private:
    AfterPass afterPass_;
    Outlets outlets_;
};

} // namespace lumora
