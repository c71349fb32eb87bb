#pragma once
// The clock window: a borderless picture window without a taskbar button that the user drags by
// its face, that snaps to the screen edges, and that shows a tooltip under a resting pointer.

#include "clock/PixelBuffer.h"
#include "clock/Placement.h"
#include "settings/Settings.h"
#include "clock/HintControl.h"
#include "clock/LayeredPictureForm.h"

#include <functional>
#include <memory>
#include <string>

namespace lumora {

// The window stacking that carries out a stacking mode of the clock's.
PictureStacking PictureStackingFor(StackingMode mode);

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

// The settings the clock window goes by. It keeps its own copy: the master hands a new one
// whenever they change, also when a dialog's Cancel puts the old values back.
struct ClockWindowOptions {
    OperationSettings Operation; // Fixed and the snapping rules
    StackingMode Stacking = StackingMode::Normal;
    int32_t ToolTipStyle = 0;
    int32_t ToolTipTime = 0;
};

ClockWindowOptions ClockWindowOptionsFrom(const Settings& settings);

class TLumoraForm final : public TLayeredPictureForm {
public:
    static std::unique_ptr<TLumoraForm> Create(HWND master, const ClockWindowOptions& options,
                                               ClockWindowEvents events);

    // A new stacking mode takes effect at once if the clock has shown; otherwise its first show applies it.
    void SetOptions(const ClockWindowOptions& options);

    // Sets the client size; the contents follow with the next push.
    void SetFaceSize(int width, int height) { SetPictureSize(width, height); }
    void Push(const PixelBuffer& image, const PushOptions& options);

    bool Shown() const { return shown_; }
    bool ShownOnce() const { return shownOnce_; }
    bool NeedsUpdate() const { return needsUpdate_; }
    void SetNeedsUpdate(bool value) { needsUpdate_ = value; }
    bool Moving() const { return moving_; }

    // The pass decides (shown) and applies the command at its end.
    void MarkShown(bool shown) { shown_ = shown; }
    void ApplyShowCommand(int command);
    // Before the first show: the saved position; the owner then applies the stacking mode to
    // this window and to its overlays.
    void PlaceForFirstShow(ScreenPoint position);
    // Applies mode and keeps it as the clock's stacking mode.
    void ApplyStacking(StackingMode mode);
    bool HintVisible() const { return hint_ && hint_->Visible(); }

private:
    TLumoraForm(const ClockWindowOptions& options, ClockWindowEvents events)
        : options_(options), events_(std::move(events)) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool SetCursorShape(LPARAM lParam);
    void SnapWhileMoving(WINDOWPOS& pos);
    void MouseMoved(bool nonClient);
    void CancelHover(bool mouseLeft);
    void HoverTimerFired();
    void PopupMenuAt(POINT point);
    ScreenRect WindowRect() const;

    ClockWindowOptions options_;
    ClockWindowEvents events_;
    std::unique_ptr<TKZHintControl> hint_;
    bool mouseInside_ = false;
    bool hoverPending_ = false;
    bool shown_ = false;
    bool shownOnce_ = false;
    bool needsUpdate_ = false;
    bool moving_ = false;
};

} // namespace lumora
