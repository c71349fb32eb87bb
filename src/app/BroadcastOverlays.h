#pragma once
// The broadcast staged around the clock: the call sign and the logo on every monitor, the omake
// windows of the first show, the test pattern and the one caption. BroadcastOverlays owns their
// windows and is what the master talks to; inside it one object per kind of overlay decides when
// each is built, shown and closed.

#include "app/WindowOwner.h"
#include "clock/DateTimeFormat.h"
#include "shell/ScreenGeometry.h"
#include "settings/Settings.h"
#include "clock/LayeredPictureForm.h"
#include "overlays/TelopForm.h"

#include <functional>
#include <random>
#include <vector>

namespace lumora {

// What the overlays are built against: the clock and the system as they are now.
struct OverlayScene {
    HWND Master = nullptr;
    HWND Clock = nullptr;
    ScreenRect ClockRect;
    bool Layered = false;
    PictureStacking Stacking = PictureStacking::TopMost; // the clock's
    int ColourDepth = 32;
    int PrimaryDisplayHeight = 0;
    std::vector<ScreenRect> Monitors;
};

class CallSignOverlay {
public:
    explicit CallSignOverlay(WindowOwner& windows) : windows_(windows) {}
    // One window per monitor while the setting is on; a monitor whose window fails ends the row.
    void Rebuild(const Settings& settings, const OverlayScene& scene);
    // Out of the way of the test pattern, and back after it.
    void Hide();
    void Show();

private:
    WindowOwner& windows_;
};

class LogoOverlay {
public:
    explicit LogoOverlay(WindowOwner& windows) : windows_(windows) {}
    // One window per monitor while the setting is on and a file is chosen; the file is read again.
    void Rebuild(const Settings& settings, const OverlayScene& scene);

private:
    WindowOwner& windows_;
};

class OmakeOverlay {
public:
    // The random choices of the whole run come from a generator seeded once, from the clock.
    explicit OmakeOverlay(WindowOwner& windows);
    // One window per monitor, each with its own choice; now is the local date-time.
    void Show(const Settings& settings, const OverlayScene& scene, double now, const LocaleFacts& locale);
    void Close();

private:
    WindowOwner& windows_;
    std::mt19937 random_;
};

class TestPatternOverlay {
public:
    explicit TestPatternOverlay(WindowOwner& windows) : windows_(windows) {}
    // The pattern over every monitor; closed runs once when it goes again, however that happens.
    // A monitor whose window fails closes the ones already open: false then.
    bool Open(const Settings& settings, const OverlayScene& scene, std::function<void()> closed);
    void Close();
    bool IsOpen() const { return open_; }
    // New station texts for the open pattern.
    void Refresh(const Settings& settings);
    // For the tests: the window of a monitor for which refused answers true is not made.
    void SetRefusal(std::function<bool(int monitorIndex)> refused) { refused_ = std::move(refused); }

private:
    WindowOwner& windows_;
    bool open_ = false;
    std::function<void()> closed_;
    std::function<bool(int)> refused_;
};

class BroadcastOverlays {
public:
    // settings: the master's record, read whenever an overlay is built; scene: the clock and the
    // system as they are at the moment of asking.
    BroadcastOverlays(const Settings& settings, std::function<OverlayScene()> scene);

    // Call signs and logos are built afresh against the monitors of now; an open test pattern
    // keeps the call signs hidden.
    void RebuildCallSigns();
    void RebuildLogos();
    // Every call-sign, logo, omake and caption window takes the clock's new stacking.
    void Restack(PictureStacking stacking);
    void ShowOmake(double now, const LocaleFacts& locale);
    // The monitors changed: the pattern closes, call signs and logos follow the new monitors.
    void FollowDisplayChange();

    // One pattern at a time: false while one is open. The call signs step aside while it shows.
    bool OpenTestPattern();
    bool TestPatternOpen() const { return testPattern_.IsOpen(); }
    void RefreshTestPattern() { testPattern_.Refresh(settings_); }
    void SetTestPatternRefusal(std::function<bool(int monitorIndex)> refused);

    // The caption takes the place of any other and of the omake windows; null when there was
    // nothing to show or no window.
    TTelopForm* OpenCaption(const std::wstring& text, TelopContext context);
    bool CaptionShowing() const { return windows_.IsOpen(WindowKind::Telop); }
    void CloseCaption() { windows_.Close(WindowKind::Telop); }

    // Frees the windows that closed since the last call; DestroyAll at the end of the run.
    void ReleaseClosed() { windows_.ReleaseClosed(); }
    void DestroyAll() { windows_.DestroyAll(); }

private:
    const Settings& settings_;
    std::function<OverlayScene()> scene_;
    WindowOwner windows_;
    CallSignOverlay callSigns_{windows_};
    LogoOverlay logos_{windows_};
    OmakeOverlay omake_{windows_};
    TestPatternOverlay testPattern_{windows_};
};

} // namespace lumora
