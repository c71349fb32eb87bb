#pragma once
// The caption window: borderless and top-most at the top centre of the primary display, it shows
// the lines of a short news flash (title, message, closing line) twice and then closes itself.
// A click closes it at once. The timeline and the layout are the logic's; this window measures
// and rasterises the text, composes the picture and follows the frames.

#include "overlays/TelopLayout.h"
#include "overlays/TelopSequencer.h"
#include "settings/Settings.h"
#include "shell/GdiObjects.h"
#include "overlays/OverlayForm.h"
#include "clock/TextMask.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Clicked runs after a click has closed the caption.
using TelopContext = OverlayContext;

class TTelopForm final : public TOverlayForm {
public:
    // text: the caption's lines, separated by CR LF; empty lines are left out. The settings are
    // copied, so later changes only reach the next caption. Null when there is no line to show or
    // the window cannot be made. The window stays hidden until Show.
    static std::unique_ptr<TTelopForm> Create(std::wstring_view text, const TelopSettings& settings,
                                              const TelopContext& context);

    // Brings the caption on screen and runs its timeline.
    void Show() override;

private:
    TTelopForm(const TelopSettings& settings, TelopContext context)
        : TOverlayForm(std::move(context)), settings_(settings) {}
    bool Build(const std::vector<std::wstring>& lines);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void TelopTick();
    void MouseDown();
    void ArmTimer();
    void ShowOnScreen();
    void Present(const TelopFrame& frame);
    bool Compose(const TelopFrame& frame);
    void DrawWholeLine(const std::wstring& text);
    void DrawCharacter(const std::wstring& character, const TelopPlace& place);

    struct Drawn {
        size_t Line = 0;
        bool Typing = false;
        size_t Typed = 0;
    };

    TelopSettings settings_;
    TelopBox box_;
    int rowHeight_ = 1; // one row of text in the caption font
    UniqueFont font_;
    std::unique_ptr<TextMeasure> measure_; // holds font_ selected: declared after it
    std::unique_ptr<TextMaskCanvas> characterCanvas_;
    std::vector<TelopLine> lines_;
    std::optional<TelopSequencer> sequencer_;
    PixelBuffer image_;
    std::optional<Drawn> drawn_; // what image_ holds
    bool visible_ = false;
    uint64_t shows_ = 0; // the sequencer's shows that have reached the screen
};

} // namespace lumora
