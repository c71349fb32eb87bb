#pragma once
// Workers' calls reach the user-interface thread through a message to one of its windows, whose
// window procedure hands that message to HandleMessage.

#include "shell/Worker.h"

#include <windows.h>

namespace lumora {

class WindowDispatcher final : public UiDispatcher {
public:
    // message: a number the window leaves to this dispatcher, such as WM_APP + n.
    WindowDispatcher(HWND window, UINT message) : window_(window), message_(message) {}

    // True when message was the dispatcher's: the waiting hand-overs and completions have then run.
    bool HandleMessage(UINT message);

private:
    bool Wake() override;

    HWND window_;
    UINT message_;
};

} // namespace lumora
