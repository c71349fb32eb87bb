#include "overlays/CallSignForm.h"

#include "shell/AppNames.h"
#include "overlays/OutlinedText.h"
#include "overlays/OverlayPlaces.h"
#include "clock/TextMask.h"

namespace lumora {
namespace {

constexpr UINT CallSignFlags = DT_CENTER | DT_NOCLIP | DT_NOPREFIX; // each line centred in the block
constexpr uint8_t CallSignOpacity = 64;

} // namespace

std::unique_ptr<TCallSignForm> TCallSignForm::Create(const ScreenRect& monitor, const OmakeSettings& omake,
                                                     const CallSignLook& look, OverlayContext context) {
    std::unique_ptr<TCallSignForm> form(new TCallSignForm(std::move(context)));
    if (!form->CreateOverlay(names::CallSignFormClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {}, true) ||
        !form->Draw(monitor, omake, look)) {
        return nullptr;
    }
    return form;
}

bool TCallSignForm::Draw(const ScreenRect& monitor, const OmakeSettings& omake, const CallSignLook& look) {
    const int fontHeight = OverlayFontHeight(look.PrimaryDisplayHeight);
    const UniqueFont font = CreateMaskFont(look.FontName, fontHeight);
    if (!font) {
        return false;
    }
    const std::wstring text = CallSignText(omake);
    const RECT measured = TextMeasure(font.Get()).Measure(text, {0, 0, 0, 0}, CallSignFlags);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    const GlyphMask mask = RasteriseText(font.Get(), text, width, height, {0, 0, width, height}, CallSignFlags);
    if (mask.Width <= 0 || mask.Height <= 0) {
        return false;
    }
    const int outline = OutlineWidthFor(fontHeight, 10);
    PixelBuffer image(width + outline, height + outline, ToPixel(OverlayKey));
    DrawOutlinedText(image, mask, 0, 0, outline / 2);

    const ScreenPoint place = CallSignPlace(monitor, image.Width, image.Height, omake.CallSignAlignment);
    SetWindowPos(Handle(), nullptr, place.X, place.Y, image.Width, image.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetSizeLimits({0, 0, image.Width, image.Height});
    PushKeyed(image, look.ColourDepth >= 16 ? CallSignOpacity : 255);
    return true;
}

} // namespace lumora
