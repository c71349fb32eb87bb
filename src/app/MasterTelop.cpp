// The master's caption: one at a time, opened by the features that announce something.

#include "app/MasterForm.h"

#include "clock/Placement.h"
#include "overlays/TelopForm.h"

namespace lumora {

bool TMasterForm::ShowTelop(const std::wstring& text, bool allowSound) {
    omake_.Close();
    windows_.Close(WindowKind::Telop);
    TelopContext context;
    context.Owner = clock_->Window();
    context.Layered = context_.LayeredWindowsAvailable;
    context.BottomMost = StackingModeFromSetting(settings_.View.Placement.ZOrder) == StackingMode::NotInFront;
    context.Clicked = [this] { TelopClicked(); };
    std::unique_ptr<TTelopForm> created = TTelopForm::Create(text, settings_.Telop, context);
    TTelopForm* telop = created.get();
    if (!windows_.Adopt(WindowKind::Telop, std::move(created))) {
        return false; // nothing to show, or no window: an announcement is not worth a message
    }
    // The caption stands in for the clock: the clock goes, and with it the reason to keep the
    // taskbar's own clock hidden. The pass brings the clock back once the caption has closed.
    clock_->HideNow();
    if (settings_.View.HideTaskTrayClock && tray_->TaskbarClockWasVisible()) {
        tray_->RestoreTaskbarClock();
    }
    telop->Show();
    if (settings_.Telop.Sound && allowSound) {
        PlayMasterSound(settings_.Telop.SoundFile);
    }
    return true;
}

bool TMasterForm::TelopShowing() const {
    return windows_.Find(WindowKind::Telop) != nullptr;
}

void TMasterForm::CloseTelop() {
    windows_.Close(WindowKind::Telop);
}

// A click on the caption also stops its sound.
void TMasterForm::TelopClicked() {
    StopSounds();
}

} // namespace lumora
