#include "overlays/TestPatternForm.h"

#include "shell/AppNames.h"
#include "overlays/OutlinedText.h"
#include "overlays/TestPatternLayout.h"
#include "clock/TextMask.h"

namespace lumora {
namespace {

constexpr UINT CaptionFlags = DT_NOCLIP | DT_CENTER;

} // namespace

std::unique_ptr<TTestPatternForm> TTestPatternForm::Create(const ScreenRect& monitor, const TestPatternTexts& texts,
                                                           OverlayContext context) {
    std::unique_ptr<TTestPatternForm> form(new TTestPatternForm(monitor, texts, std::move(context)));
    if (!form->CreateOverlay(names::TestPatternFormClass, WS_EX_TOOLWINDOW, {}, false)) {
        return nullptr;
    }
    return form;
}

void TTestPatternForm::Show() {
    // The resize draws the pattern.
    SetWindowPos(Handle(), HWND_TOP, monitor_.Left, monitor_.Top, monitor_.Right - monitor_.Left,
                 monitor_.Bottom - monitor_.Top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TTestPatternForm::Refresh(const OmakeSettings& omake, const std::wstring& fontName) {
    texts_.Omake = omake;
    texts_.FontName = fontName;
    Draw();
}

void TTestPatternForm::Draw() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        return;
    }
    PixelBuffer image(width, height);
    DrawColourBars(image);

    const CaptionLook banner = BannerLook(height, texts_.PrimaryDisplayHeight);
    if (const UniqueFont font = CreateMaskFont(texts_.FontName, banner.FontHeight)) {
        const std::wstring text = BannerText(texts_.MonitorCount, texts_.MonitorNumber);
        const RECT measured = TextMeasure(font.Get()).Measure(text, {0, 0, 0, 0}, CaptionFlags);
        const int top = BannerTop(height, measured.bottom, banner.Rim);
        // Each line centred between the rims.
        DrawCaption(image, font.Get(), text, banner.Rim, {banner.Rim, top, width - banner.Rim, top + measured.bottom},
                    CaptionFlags);
    }
    const CaptionLook block = BlockLook(height);
    if (const UniqueFont font = CreateMaskFont(texts_.FontName, block.FontHeight)) {
        const TextMeasure measure(font.Get());
        const std::wstring station = StationBlock(texts_.Omake);
        const RECT stationSize = measure.Measure(station, {0, 0, 0, 0}, CaptionFlags);
        const CaptionPlace stationPlace = StationBlockPlace(width, height, stationSize.bottom);
        DrawCaption(
            image, font.Get(), station, block.Rim,
            {stationPlace.X, stationPlace.Y, stationPlace.X + stationSize.right, stationPlace.Y + stationSize.bottom},
            CaptionFlags);
        const std::wstring channel = ChannelBlock(texts_.Omake);
        const RECT channelSize = measure.Measure(channel, {0, 0, 0, 0}, CaptionFlags);
        const CaptionPlace channelPlace = ChannelBlockPlace(width, height, channelSize.right, channelSize.bottom);
        DrawCaption(
            image, font.Get(), channel, block.Rim,
            {channelPlace.X, channelPlace.Y, channelPlace.X + channelSize.right, channelPlace.Y + channelSize.bottom},
            CaptionFlags);
    }

    PictureOptions options;
    options.Layered = false;
    options.Shape = PictureShape::Rectangle;
    PushPicture(image, options);
}

// White text with a black rim of radius rim: black at every offset up to 2 * rim from place,
// white at (rim, rim).
void TTestPatternForm::DrawCaption(PixelBuffer& image, HFONT font, const std::wstring& text, int rim, RECT place,
                                   UINT flags) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const GlyphMask mask = RasteriseText(font, text, width, height, {0, 0, width, height}, flags);
    if (mask.Width > 0 && mask.Height > 0) {
        DrawOutlinedText(image, mask, place.left, place.top, rim);
    }
}

LRESULT TTestPatternForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        Draw();
        return 0;
    }
    return TOverlayForm::HandleMessage(message, wParam, lParam);
}

} // namespace lumora
