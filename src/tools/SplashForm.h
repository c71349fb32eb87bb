#pragma once
// The picture shown on every monitor while the program starts. It closes itself once start-up
// has finished (checked every two seconds) or at once when clicked.

#include "shell/GdiObjects.h"
#include "shell/KZForm.h"

#include <functional>

namespace lumora {

class TSplashForm final : public TKZForm {
public:
    // One splash per monitor, centred in each work area; each owns itself.
    static void ShowOnEveryMonitor(std::function<bool()> startupFinished);

    // Whether the system fades tooltips, which the splash follows when it appears and goes.
    static bool FadeEnabled();

private:
    explicit TSplashForm(std::function<bool()> startupFinished) : startupFinished_(std::move(startupFinished)) {}
    bool Build(const RECT& workArea, bool fade);
    void LoadPicture();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FinalMessage() override { delete this; }
    void FormPaint();
    void CloseTimerTick();
    void Release();

    std::function<bool()> startupFinished_;
    UniqueBitmap picture_;
    SIZE pictureSize_{0, 0};
    bool fade_ = false;
    UINT_PTR closeTimer_ = 0;
};

} // namespace lumora
