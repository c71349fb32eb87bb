#pragma once
// The omake window: for a few seconds after the clock first shows, a programme mark or a joke
// caption of a broadcast in the upper corner of one monitor, away from the clock. It closes by
// itself after its time; a click closes every one of them (the owner's Clicked).

#include "clock/DateTimeFormat.h"
#include "overlays/OmakeText.h"
#include "overlays/OverlayForm.h"

#include <memory>
#include <string>

namespace lumora {

struct OmakeLook {
    std::wstring FontName; // the caption font
    int PrimaryDisplayHeight = 0;
    ScreenRect Clock; // the clock window, kept clear
};

class TOmakeForm final : public TOverlayForm {
public:
    // Drawn and placed for monitor with its own random choice, still hidden; null when the window
    // cannot be made. now: the local date-time the texts name.
    static std::unique_ptr<TOmakeForm> Create(const ScreenRect& monitor, const OmakeLook& look, double now,
                                              const LocaleFacts& locale, const RandomPick& pick,
                                              OverlayContext context);
    // Shows it and starts the time it stays.
    void Show() override;

private:
    explicit TOmakeForm(OverlayContext context) : TOverlayForm(std::move(context)) {}
    // The mask as white text with a black rim of outline pixels in all.
    bool Draw(const ScreenRect& monitor, const ScreenRect& clock, const GlyphMask& mask, int outline);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int displayTime_ = OmakeTextTime;
};

} // namespace lumora
