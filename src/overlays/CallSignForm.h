#pragma once
// The station's call sign, faint in a lower corner of one monitor, as a station shows it during
// test transmissions: white letters with a black rim at a quarter opacity. The mouse goes
// through it to the windows below, where layered windows exist.

#include "overlays/OverlayForm.h"
#include "settings/Settings.h"

#include <memory>
#include <string>

namespace lumora {

struct CallSignLook {
    std::wstring FontName; // the caption font
    int PrimaryDisplayHeight = 0;
    int ColourDepth = 32; // below 16 bits the call sign is keyed but opaque
};

class TCallSignForm final : public TOverlayForm {
public:
    // Drawn and placed for monitor, still hidden; null when the window or its picture cannot be made.
    static std::unique_ptr<TCallSignForm> Create(const ScreenRect& monitor, const OmakeSettings& omake,
                                                 const CallSignLook& look, OverlayContext context);

private:
    explicit TCallSignForm(OverlayContext context) : TOverlayForm(std::move(context)) {}
    bool Draw(const ScreenRect& monitor, const OmakeSettings& omake, const CallSignLook& look);
};

} // namespace lumora
