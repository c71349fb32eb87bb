#include "menu/ProgramMenu.h"

#include "menu/SystemCommands.h"

namespace lumora {

std::unique_ptr<ProgramMenu> ProgramMenu::Create(HWND master, int colourDepth) {
    std::unique_ptr<TMasterStandIn> standIn = TMasterStandIn::Create(master);
    if (!standIn) {
        return nullptr;
    }
    std::unique_ptr<ProgramMenu> menu(new ProgramMenu(std::move(standIn)));
    menu->LoadImages(colourDepth);
    return menu;
}

void ProgramMenu::AddBusyState(CommandId command, std::function<bool()> busy) {
    busy_.emplace_back(command, std::move(busy));
}

MenuContext ProgramMenu::Context(int colourDepth, bool layeredWindows, bool timerRunning) const {
    MenuContext context;
    context.TimerRunning = timerRunning;
    context.ColourDepth = colourDepth;
    context.LayeredWindows = layeredWindows;
    context.KitPortSelected = kitPortSelected_;
    for (const auto& [command, busy] : busy_) {
        if (busy()) {
            context.Busy.insert(command);
        }
    }
    context.Busy.insert(runningInPlace_.begin(), runningInPlace_.end());
    return context;
}

// The menu belongs to the master's enabled stand-in, which takes the foreground for it so that a
// click elsewhere closes it; the empty message afterwards lets the next menu open at once.
void ProgramMenu::Show(POINT point, const Settings& settings, const MenuContext& context) {
    const MenuLook look{settings.View.ShowMenuIcon, settings.View.UseModernMenu};
    SetForegroundWindow(standIn_->Handle());
    popup_.Track(
        point, VisibleMenuItems(settings, context),
        [&settings, &context](CommandId command) { return CommandStateOf(command, settings, context); }, look);
    PostMessageW(standIn_->Handle(), WM_NULL, 0, 0);
}

bool ProgramMenu::RunInPlace(CommandId command, HWND clock, const std::function<void()>& showHelp) {
    if (!RunsInPlace(command)) {
        return false;
    }
    if (!runningInPlace_.insert(command).second) {
        return true;
    }
    struct Finished {
        std::set<CommandId>& running;
        CommandId command;
        ~Finished() { running.erase(command); }
    } finished{runningInPlace_, command};
    CarryOut(command, clock, showHelp);
    return true;
}

void ProgramMenu::CarryOut(CommandId command, HWND clock, const std::function<void()>& showHelp) {
    switch (command) {
    case CommandId::ScreenSave:
    case CommandId::ScreenSaveConfig:
        RunScreenSaver(standIn_->Handle(), command == CommandId::ScreenSaveConfig);
        break;
    case CommandId::MonitorOff:
        TurnMonitorOff(standIn_->Handle());
        break;
    case CommandId::TimeDateCpl:
        OpenTimeDatePanel();
        break;
    case CommandId::WebSite:
        OpenWebSite(clock);
        break;
    case CommandId::Help:
        showHelp();
        break;
    default:
        break;
    }
}

bool ProgramMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return popup_.HandleMessage(message, lParam, result);
    case WM_MENUCHAR:
        result = popup_.MenuChar(LOWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return true;
    default:
        return false;
    }
}

} // namespace lumora
