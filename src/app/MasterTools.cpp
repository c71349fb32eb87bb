// The master's tool dialogs: each exists once, and the world clock's and the opacity's changes
// show on the clock at once.

#include "app/MasterForm.h"

#include "menu/SystemCommands.h"
#include "tools/AboutForm.h"
#include "tools/AlphaBlendForm.h"
#include "tools/WorldClockForm.h"

namespace lumora {

bool TMasterForm::BringForward(WindowKind kind) {
    TKZForm* open = windows_.Find(kind);
    if (open != nullptr) {
        SetForegroundWindow(open->Handle());
    }
    return open != nullptr;
}

void TMasterForm::WorldClockActionExecute() {
    if (BringForward(WindowKind::WorldClock)) {
        return;
    }
    WorldClockContext context;
    context.Settings = settings_.WorldClock;
    context.Apply = [this](const WorldClockSettings& worldClock) { ApplyWorldClock(worldClock); };
    context.TimeZoneBias = [this] { return facts_.TimeZoneBias; };
    context.Locale = facts_.Locale;
    context.Help = &help_;
    windows_.Adopt(WindowKind::WorldClock, TWorldClockForm::Create(Handle(), std::move(context)));
}

// The menu's check marks are read from the settings when the menu opens; an open calendar
// follows the clock's date.
void TMasterForm::ApplyWorldClock(const WorldClockSettings& worldClock) {
    settings_.WorldClock = worldClock;
    UpdateClock(true);
    RefreshCalendar();
}

void TMasterForm::AlphaBlendActionExecute() {
    if (BringForward(WindowKind::AlphaBlend)) {
        return;
    }
    AlphaBlendContext context;
    context.Opacity = settings_.View.AlphaBlend;
    context.Apply = [this](int opacity) { ApplyAlphaBlend(opacity); };
    context.Layered = context_.LayeredWindowsAvailable;
    context.ColourDepth = facts_.ColourDepth;
    context.Help = &help_;
    windows_.Adopt(WindowKind::AlphaBlend, TAlphaBlendForm::Create(Handle(), std::move(context)));
}

void TMasterForm::ApplyAlphaBlend(int opacity) {
    Settings next = settings_;
    next.View.AlphaBlend = opacity;
    ApplySettings(next);
}

void TMasterForm::AboutActionExecute() {
    if (BringForward(WindowKind::About)) {
        return;
    }
    // The link runs the web-site command: one browser start at a time, as from anywhere else.
    windows_.Adopt(WindowKind::About, TAboutForm::Create(
                                          Handle(), [this] { RunCommand(CommandId::WebSite); }, &help_));
}

} // namespace lumora
