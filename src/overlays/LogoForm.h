#pragma once
// The station logo as a watermark in an upper corner of one monitor: the user's bitmap at a
// quarter opacity, clear where it has its key colour, passed through by the mouse where layered
// windows exist.

#include "overlays/OverlayForm.h"

#include <memory>
#include <string>

namespace lumora {

class TLogoForm final : public TOverlayForm {
public:
    // Drawn and placed for monitor, still hidden; null when the file is not a bitmap we can read
    // or the window cannot be made. alignment 0 is the left corner, anything else the right.
    static std::unique_ptr<TLogoForm> Create(const ScreenRect& monitor, const std::wstring& file, int alignment,
                                             int colourDepth, OverlayContext context);

private:
    explicit TLogoForm(OverlayContext context) : TOverlayForm(std::move(context)) {}
    bool Draw(const ScreenRect& monitor, const std::wstring& file, int alignment, int colourDepth);
};

} // namespace lumora
