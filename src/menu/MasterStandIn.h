#pragma once
// The master window is disabled for its whole life, and Windows neither activates a disabled
// window nor carries out a system command sent to one. This hidden, enabled window owned by the
// master stands in for it there: it owns the popup menu (it can take the foreground, so a click
// elsewhere closes the menu) and its default procedure carries out the screen-saver and
// monitor-power commands. What the menu sends goes on to the master.

#include "shell/KZForm.h"

#include <memory>

namespace lumora {

class TMasterStandIn final : public TKZForm {
public:
    // Null when the window cannot be made.
    static std::unique_ptr<TMasterStandIn> Create(HWND master);

private:
    explicit TMasterStandIn(HWND master) : master_(master) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND master_;
};

} // namespace lumora
