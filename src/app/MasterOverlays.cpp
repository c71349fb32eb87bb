// The master's part in the broadcast overlays: when they are built, and the test pattern's command.

#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "clock/LumoraForm.h"
#include "clock/Placement.h"

namespace lumora {

OverlayScene TMasterForm::CurrentOverlayScene() const {
    OverlayScene scene;
    scene.Master = Handle();
    scene.Clock = clock_->Window();
    RECT clock{};
    GetWindowRect(scene.Clock, &clock);
    scene.ClockRect = {clock.left, clock.top, clock.right, clock.bottom};
    scene.Layered = context_.LayeredWindowsAvailable;
    scene.Stacking = PictureStackingFor(StackingModeFromSetting(settings_.View.Placement.ZOrder));
    scene.ColourDepth = facts_.ColourDepth;
    scene.PrimaryDisplayHeight = GetSystemMetrics(SM_CYSCREEN);
    scene.Monitors = facts_.MonitorRects;
    return scene;
}

void TMasterForm::RebuildCallSigns() {
    callSigns_.Rebuild(settings_, CurrentOverlayScene());
    if (testPattern_.IsOpen()) {
        callSigns_.Hide(); // the pattern stays clean until it closes
    }
}

void TMasterForm::RebuildLogos() {
    logos_.Rebuild(settings_, CurrentOverlayScene());
}

void TMasterForm::RestackWindows() {
    RestackOverlays(windows_, CurrentOverlayScene().Stacking);
    clock_->ApplyStacking();
}

void TMasterForm::ShowOmakeWindows() {
    omake_.Show(settings_, CurrentOverlayScene(), LocalNow(), facts_.Locale);
}

// One pattern at a time: the command does nothing while one is open.
void TMasterForm::TestPatternActionExecute() {
    if (testPattern_.IsOpen()) {
        return;
    }
    if (settings_.Omake.CallSignWindow) {
        callSigns_.Hide();
    }
    testPattern_.Open(settings_, CurrentOverlayScene(), [this] { TestPatternClosed(); });
}

void TMasterForm::TestPatternClosed() {
    if (settings_.Omake.CallSignWindow) {
        callSigns_.Show();
    }
}

} // namespace lumora
