#pragma once
// The test pattern over one whole monitor: colour bars with the captions of a test transmission.
// Not top-most, so the clock and a caption stay above it; any mouse button closes the pattern on
// every monitor (the owner's Clicked).

#include "overlays/OverlayForm.h"
#include "settings/Settings.h"

#include <memory>
#include <string>

namespace lumora {

struct TestPatternTexts {
    OmakeSettings Omake;   // station, call sign, channel, parent station
    std::wstring FontName; // the caption font
    int PrimaryDisplayHeight = 0;
    int MonitorCount = 1;
    int MonitorNumber = 1; // this window's monitor, counted from 1
};

class TTestPatternForm final : public TOverlayForm {
public:
    // Hidden until Show; null when the window cannot be made.
    static std::unique_ptr<TTestPatternForm> Create(const ScreenRect& monitor, const TestPatternTexts& texts,
                                                    OverlayContext context);
    // Over the whole monitor, on top of the ordinary windows, without taking the focus.
    void Show() override;
    // New station texts, drawn at once.
    void Refresh(const OmakeSettings& omake, const std::wstring& fontName);

private:
    TTestPatternForm(const ScreenRect& monitor, const TestPatternTexts& texts, OverlayContext context)
        : TOverlayForm(std::move(context)), monitor_(monitor), texts_(texts) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Draw();
    void DrawCaption(PixelBuffer& image, HFONT font, const std::wstring& text, int rim, RECT place, UINT flags);

    ScreenRect monitor_;
    TestPatternTexts texts_;
};

} // namespace lumora
