#pragma once
// The clock window: borderless, no taskbar button, its picture pushed from the face image either
// with per-pixel alpha (layered) or as a colour-keyed window region.

#include "clock/PixelBuffer.h"
#include "clock/Placement.h"
#include "settings/Settings.h"
#include "shell/GdiObjects.h"
#include "shell/HintControl.h"
#include "shell/KZForm.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {

struct PushOptions {
    bool Layered = true;           // UpdateLayeredWindow; otherwise a window region
    int ColourDepth = 32;          // bits per pixel of the display
    uint8_t Opacity = 255;         // the clock's AlphaBlend
    Colour KeyColour = 0;          // the colour that stands for transparent (RGB)
    Colour TransparentColour = 0;  // the current transparent-colour value (the hole colour while a hole shows)
    bool OpaqueBackground = false; // a background type other than transparent
    bool EraseBackground = false;  // full redraw
};

// What the clock window hands to the master window.
struct ClockWindowEvents {
    std::function<void()> Click;
    std::function<void()> DoubleClick;
    std::function<void()> MouseEntered;
    std::function<void(POINT)> PopupMenu;
    std::function<std::wstring()> HintText;
};

class TLumoraForm final : public TKZForm {
public:
    // settings: the master window's record, read for pinning, snapping, stacking and the tooltip.
    static std::unique_ptr<TLumoraForm> Create(HWND master, const Settings& settings, ClockWindowEvents events);

    // Sets the client size; the contents follow with the next push.
    void SetFaceSize(int width, int height);
    void Push(const PixelBuffer& image, const PushOptions& options);

    bool Shown() const { return shown_; }
    bool ShownOnce() const { return shownOnce_; }
    bool NeedsUpdate() const { return needsUpdate_; }
    void SetNeedsUpdate(bool value) { needsUpdate_ = value; }
    bool Moving() const { return moving_; }

    // The pass decides (shown) and applies the command at its end.
    void MarkShown(bool shown) { shown_ = shown; }
    void ApplyShowCommand(int command);
    // Before the first show: the saved position, then the saved stacking mode.
    void PlaceForFirstShow(ScreenPoint position);
    void ApplyStacking(StackingMode mode);
    // Clicks go through the clock to what is below (layered windows only).
    void SetClickThrough(bool on, bool layered);
    bool HintVisible() const { return hint_ && hint_->Visible(); }
    void SetColourDepth(int depth) { colourDepth_ = depth; }

private:
    TLumoraForm(const Settings& settings, ClockWindowEvents events) : settings_(settings), events_(std::move(events)) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool SetCursorShape(LPARAM lParam);
    void WindowPosChanging(WINDOWPOS& pos);
    void MouseMoved();
    void CancelHover(bool mouseLeft);
    void HoverTimerFired();
    void PopupMenuAt(POINT point);
    ScreenRect WindowRect() const;
    void FormPaint();
    bool CopyToDib(const PixelBuffer& image);
    void PushLayered(const PushOptions& options);
    void PushRegion(const PixelBuffer& image, const PushOptions& options);

    const Settings& settings_;
    ClockWindowEvents events_;
    std::unique_ptr<TKZHintControl> hint_;
    DibSection dib_;
    MemoryDC dibDc_; // holds dib_ selected between pushes
    std::unique_ptr<SelectedObject> dibSelected_;
    int colourDepth_ = 32;
    bool mouseInside_ = false;
    bool hoverPending_ = false;
    bool shown_ = false;
    bool shownOnce_ = false;
    bool needsUpdate_ = false;
    bool moving_ = false;
};

} // namespace lumora
