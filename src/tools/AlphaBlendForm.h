#pragma once
// The opacity dialog: a slider for the clock's opacity that takes effect as it moves; Cancel puts
// back the opacity the clock had. Displays of 15 bits per pixel or fewer get a note instead.

#include "shell/DialogForm.h"

#include <functional>
#include <memory>

namespace lumora {

class HelpViewer;

struct AlphaBlendContext {
    int Opacity = 255;              // as the dialog opens, 0 clear .. 255 opaque
    std::function<void(int)> Apply; // the clock takes it at once
    bool Layered = true;            // layered windows exist
    int ColourDepth = 32;
    const HelpViewer* Help = nullptr;
};

class TAlphaBlendForm final : public TDialogForm {
public:
    static std::unique_ptr<TAlphaBlendForm> Create(HWND owner, AlphaBlendContext context);

private:
    explicit TAlphaBlendForm(AlphaBlendContext context) : context_(std::move(context)) {}
    bool OnInitDialog() override;
    // OK keeps the opacity the slider gave the clock; Cancel puts back the one it had.
    void OnOk() override { Close(); }
    void OnCancel() override;
    LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;
    void SliderMoved();
    void ShowForDepth(int colourDepth);

    AlphaBlendContext context_;
    bool applying_ = false;
};

} // namespace lumora
