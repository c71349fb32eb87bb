#include "sound/MasterSounds.h"

namespace lumora {

void MasterSounds::Play(const std::wstring& fileName, bool interactive) {
    signal_.StopChain();
    player_.Play(*this, master_, nullptr, fileName, interactive, false);
}

void MasterSounds::Stop() {
    signal_.StopChain();
    player_.Stop();
}

} // namespace lumora
