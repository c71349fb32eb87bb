#pragma once
// The picture shown on every monitor while the program starts. It closes itself once start-up
// has finished (checked every two seconds) or at once when clicked.

#include "shell/GdiObjects.h"
#include "shell/KZForm.h"

#include <functional>
#include <memory>

namespace lumora {

class TSplashForm final : public TKZForm {
public:
    // A splash centred in workArea, shown at once; null when it cannot be shown.
    static std::unique_ptr<TSplashForm> Create(const RECT& workArea, bool fade, std::function<bool()> startupFinished);

    // Whether the system fades tooltips, which the splash follows when it appears and goes.
    static bool FadeEnabled();

private:
    explicit TSplashForm(std::function<bool()> startupFinished) : startupFinished_(std::move(startupFinished)) {}
    bool Build(const RECT& workArea, bool fade);
    void LoadPicture();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormPaint();
    // The picture into dc, for the screen and for AnimateWindow's fade alike.
    void PaintPicture(HDC dc) const;
    void CloseTimerTick();
    void Release();

    std::function<bool()> startupFinished_;
    UniqueBitmap picture_;
    SIZE pictureSize_{0, 0};
    bool fade_ = false;
    UINT_PTR closeTimer_ = 0;
};

} // namespace lumora
