// The master's popup menu: opened from the clock and the icon, its states from the settings and
// from what is open or running.

#include "app/MasterForm.h"

namespace lumora {

MenuContext TMasterForm::CurrentMenuContext() const {
    MenuContext context;
    context.TimerRunning = countdown_->Running();
    context.ColourDepth = facts_.ColourDepth;
    context.LayeredWindows = context_.LayeredWindowsAvailable;
    context.KitPortSelected = kitPortSelected_;
    for (const auto& [kind, command] : {std::pair{WindowKind::WorldClock, CommandId::WorldClock},
                                        {WindowKind::AlphaBlend, CommandId::AlphaBlend},
                                        {WindowKind::About, CommandId::About},
                                        {WindowKind::Timer, CommandId::Timer},
                                        {WindowKind::Option, CommandId::Option}}) {
        if (windows_.Find(kind) != nullptr) {
            context.Busy.insert(command);
        }
    }
    context.Busy.insert(runningInPlace_.begin(), runningInPlace_.end());
    if (testPattern_.IsOpen()) {
        context.Busy.insert(CommandId::TestPattern);
    }
    if (windows_.Find(WindowKind::Calendar) != nullptr) {
        context.Busy.insert(CommandId::Calendar);
    }
    if (clockSetter_->Running(AdjustSource::Ntp) || clockSetter_->Running(AdjustSource::Http)) {
        context.Busy.insert(CommandId::NetworkAdjust);
    }
    if (clockSetter_->Running(AdjustSource::Kit)) {
        context.Busy.insert(CommandId::JJYAdjust);
    }
    return context;
}

// The menu belongs to the master's enabled stand-in, which takes the foreground for it so that a
// click elsewhere closes it; the empty message afterwards lets the next menu open at once.
void TMasterForm::ShowPopupMenu(POINT point) {
    const MenuContext context = CurrentMenuContext();
    const MenuLook look{settings_.View.ShowMenuIcon, settings_.View.UseModernMenu};
    SetForegroundWindow(standIn_->Handle());
    menu_->Track(
        point, VisibleMenuItems(settings_, context),
        [this, &context](CommandId command) { return CommandStateOf(command, settings_, context); }, look);
    PostMessageW(standIn_->Handle(), WM_NULL, 0, 0);
}

} // namespace lumora
