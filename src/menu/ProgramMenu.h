#pragma once
// The program's popup menu as the master uses it: the menu itself with its owner window, and its
// states — which commands are busy (their window is open or their work still runs), the serial
// port's last choice, the commands that hand over to Windows and run once at a time.

#include "menu/CommandIds.h"
#include "menu/MasterStandIn.h"
#include "menu/MenuModel.h"
#include "menu/PopupMenu.h"
#include "settings/Settings.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace lumora {

class ProgramMenu {
public:
    // Null when the menu's owner window cannot be made.
    static std::unique_ptr<ProgramMenu> Create(HWND master, int colourDepth);

    // The command counts as busy whenever busy answers true.
    void AddBusyState(CommandId command, std::function<bool()> busy);
    // False once the options dialog applied the radio clock without a serial port to choose.
    void SetKitPortSelected(bool selected) { kitPortSelected_ = selected; }
    // What the states depend on besides the settings, as things stand now.
    MenuContext Context(int colourDepth, bool layeredWindows, bool timerRunning) const;

    // Opens the menu at point and returns once it has closed.
    void Show(POINT point, const Settings& settings, const MenuContext& context);
    // The commands that hand over to Windows: each runs once at a time (its message box runs a
    // message loop of its own, and a second request meanwhile would stack a second box on the
    // first). False when command is not one of them.
    bool RunInPlace(CommandId command, HWND clock, const std::function<void()>& showHelp);

    // The owner-drawn items' messages, which the stand-in passes to the master.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void LoadImages(int colourDepth) { popup_.LoadImages(colourDepth); }
    HMENU OpenMenu() const { return popup_.OpenMenu(); }

private:
    explicit ProgramMenu(std::unique_ptr<TMasterStandIn> standIn)
        : standIn_(std::move(standIn)), popup_(standIn_->Handle()) {}
    void CarryOut(CommandId command, HWND clock, const std::function<void()>& showHelp);

    std::unique_ptr<TMasterStandIn> standIn_; // the menu's owner, before the menu that uses it
    PopupMenu popup_;
    std::vector<std::pair<CommandId, std::function<bool()>>> busy_;
    std::set<CommandId> runningInPlace_;
    bool kitPortSelected_ = true;
};

} // namespace lumora
