#include "sound/MasterSounds.h"

#include <mmsystem.h>

namespace lumora {

void MasterSounds::Play(const std::wstring& fileName) {
    signal_.StopChain();
    player_.Play(master_, master_, fileName, false, false);
}

void MasterSounds::Stop() {
    signal_.StopChain();
    Close();
}

void MasterSounds::Notified(WPARAM flags) {
    // A failed play also ends: left open, the device would count as playing for ever.
    if (flags != MCI_NOTIFY_SUCCESSFUL && flags != MCI_NOTIFY_FAILURE) {
        return;
    }
    const bool mastersSound = player_.CaptionButton() == master_;
    Close();
    if (mastersSound) {
        signal_.SoundEnded(flags == MCI_NOTIFY_SUCCESSFUL);
    }
}

void MasterSounds::Close() {
    player_.CloseDevice();
    if (player_.CaptionButton() == master_) {
        player_.ClearCaptionButton();
    }
}

} // namespace lumora
