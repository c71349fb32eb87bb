#include "overlays/OmakeForm.h"

#include "shell/AppNames.h"
#include "clock/DigitSource.h"
#include "clock/GlyphStrip.h"
#include "overlays/OutlinedText.h"
#include "overlays/OverlayPlaces.h"
#include "clock/TextMask.h"

#include <optional>

namespace lumora {
namespace {

constexpr UINT_PTR DisplayTimerId = 1;
constexpr UINT TextFlags = DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK;

std::optional<GlyphMask> ProgrammeMark(int mark) {
    const std::optional<PixelBuffer> picture = LoadBitmapResource(FirstProgrammeMarkId + mark);
    if (!picture || picture->Empty()) {
        return std::nullopt;
    }
    return SilhouetteOf(*picture, true); // the black drawing
}

// The text wrapped to the room beside the clock, cut at half the monitor's height.
GlyphMask TextMask(const std::wstring& text, HFONT font, const ScreenRect& monitor, const ScreenRect& clock) {
    const int width = OmakeTextWidth(monitor, clock);
    const RECT measured = TextMeasure(font).Measure(text, {0, 0, width, 0}, TextFlags);
    const int height = OmakeTextHeight(measured.bottom - measured.top, monitor);
    return RasteriseText(font, text, width, height, {0, 0, width, height}, TextFlags);
}

} // namespace

std::unique_ptr<TOmakeForm> TOmakeForm::Create(const ScreenRect& monitor, const OmakeLook& look, double now,
                                               const LocaleFacts& locale, const RandomPick& pick,
                                               OverlayContext context) {
    std::unique_ptr<TOmakeForm> form(new TOmakeForm(std::move(context)));
    if (!form->CreateOverlay(names::OmakeFormClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, {}, false)) {
        return nullptr;
    }
    OmakeChoice choice = ChooseOmake(now, locale, pick);
    std::optional<GlyphMask> mask;
    if (choice.Picture && !(mask = ProgrammeMark(choice.Mark))) {
        choice = ChooseOmakeText(now, locale, pick); // a mark we cannot load gives way to a text
    }
    const int fontHeight = OverlayFontHeight(look.PrimaryDisplayHeight);
    if (!choice.Picture) {
        const UniqueFont font = CreateMaskFont(look.FontName, fontHeight);
        if (!font) {
            return nullptr;
        }
        mask = TextMask(choice.Text, font.Get(), monitor, look.Clock);
    }
    form->displayTime_ = choice.Picture ? OmakePictureTime : OmakeTextTime;
    if (!form->Draw(monitor, look.Clock, *mask, OutlineWidthFor(fontHeight, 8))) {
        return nullptr;
    }
    return form;
}

bool TOmakeForm::Draw(const ScreenRect& monitor, const ScreenRect& clock, const GlyphMask& mask, int outline) {
    if (mask.Width <= 0 || mask.Height <= 0) {
        return false;
    }
    PixelBuffer image(mask.Width + outline, mask.Height + outline, ToPixel(OverlayKey));
    DrawOutlinedText(image, mask, 0, 0, outline / 2);

    const ScreenPoint place = OmakePlace(monitor, clock, image.Width);
    SetWindowPos(Handle(), nullptr, place.X, place.Y, image.Width, image.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetSizeLimits({0, 0, image.Width, image.Height});
    PushKeyed(image, 255);
    return true;
}

void TOmakeForm::Show() {
    ShowOnTop();
    SetTimer(Handle(), DisplayTimerId, static_cast<UINT>(displayTime_), nullptr);
}

LRESULT TOmakeForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == DisplayTimerId) {
        KillTimer(Handle(), DisplayTimerId);
        DestroyWindow(Handle()); // the owner hears it through the closed handler
        return 0;
    }
    return TOverlayForm::HandleMessage(message, wParam, lParam);
}

} // namespace lumora
