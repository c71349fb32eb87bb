#include "app/BroadcastOverlays.h"

#include "overlays/CallSignForm.h"
#include "overlays/LogoForm.h"
#include "overlays/OmakeForm.h"
#include "overlays/TestPatternForm.h"

#include <chrono>

namespace lumora {
namespace {

OverlayContext ContextFor(const OverlayScene& scene, HWND owner, std::function<void()> clicked = {}) {
    OverlayContext context;
    context.Owner = owner;
    context.Layered = scene.Layered;
    context.BottomMost = scene.Stacking == PictureStacking::BottomMost;
    context.Clicked = std::move(clicked);
    return context;
}

// One window per monitor, in the monitors' order, each shown once it is adopted. A monitor whose
// window cannot be made ends the row: false then.
template <class MakeForm>
bool AdoptPerMonitor(WindowOwner& windows, WindowKind kind, const std::vector<ScreenRect>& monitors, MakeForm make) {
    for (size_t i = 0; i < monitors.size(); ++i) {
        auto form = make(monitors[i], static_cast<int>(i));
        TOverlayForm* shown = form.get();
        if (!windows.Adopt(kind, std::move(form))) {
            return false;
        }
        shown->Show();
    }
    return true;
}

template <class Action> void ForEachOverlay(const WindowOwner& windows, WindowKind kind, Action action) {
    for (TOverlayForm* form : windows.FindAll<TOverlayForm>(kind)) {
        action(*form);
    }
}

} // namespace

void CallSignOverlay::Rebuild(const Settings& settings, const OverlayScene& scene) {
    windows_.Close(WindowKind::CallSign);
    if (!settings.Omake.CallSignWindow) {
        return;
    }
    const CallSignLook look{settings.Telop.FontName, scene.PrimaryDisplayHeight, scene.ColourDepth};
    AdoptPerMonitor(windows_, WindowKind::CallSign, scene.Monitors, [&](const ScreenRect& monitor, int) {
        return TCallSignForm::Create(monitor, settings.Omake, look, ContextFor(scene, scene.Clock));
    });
}

void CallSignOverlay::Hide() {
    ForEachOverlay(windows_, WindowKind::CallSign, [](TOverlayForm& form) { ShowWindow(form.Handle(), SW_HIDE); });
}

void CallSignOverlay::Show() {
    ForEachOverlay(windows_, WindowKind::CallSign, [](TOverlayForm& form) { ShowWindow(form.Handle(), SW_SHOWNA); });
}

void LogoOverlay::Rebuild(const Settings& settings, const OverlayScene& scene) {
    windows_.Close(WindowKind::Logo);
    const OmakeSettings& omake = settings.Omake;
    if (!omake.LogoWindow || omake.LogoFile.empty()) {
        return;
    }
    AdoptPerMonitor(windows_, WindowKind::Logo, scene.Monitors, [&](const ScreenRect& monitor, int) {
        return TLogoForm::Create(monitor, omake.LogoFile, omake.LogoAlignment, scene.ColourDepth,
                                 ContextFor(scene, scene.Clock));
    });
}

OmakeOverlay::OmakeOverlay(WindowOwner& windows)
    : windows_(windows),
      random_(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count())) {}

void OmakeOverlay::Show(const Settings& settings, const OverlayScene& scene, double now, const LocaleFacts& locale) {
    const OmakeLook look{settings.Telop.FontName, scene.PrimaryDisplayHeight, scene.ClockRect};
    const RandomPick pick = [this](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); };
    const OverlayContext context = ContextFor(scene, scene.Clock, [this] { Close(); });
    AdoptPerMonitor(windows_, WindowKind::Omake, scene.Monitors, [&](const ScreenRect& monitor, int) {
        return TOmakeForm::Create(monitor, look, now, locale, pick, context);
    });
}

void OmakeOverlay::Close() {
    windows_.Close(WindowKind::Omake);
}

bool TestPatternOverlay::Open(const Settings& settings, const OverlayScene& scene, std::function<void()> closed) {
    open_ = true;
    closed_ = std::move(closed);
    TestPatternTexts texts{settings.Omake, settings.Telop.FontName, scene.PrimaryDisplayHeight,
                           static_cast<int>(scene.Monitors.size()), 1};
    const OverlayContext context = ContextFor(scene, scene.Master, [this] { Close(); });
    const bool opened =
        AdoptPerMonitor(windows_, WindowKind::TestPattern, scene.Monitors, [&](const ScreenRect& monitor, int index) {
            texts.MonitorNumber = index + 1;
            return refused_ && refused_(index) ? nullptr : TTestPatternForm::Create(monitor, texts, context);
        });
    if (!opened) {
        // Half a pattern cannot be closed by a click on the monitors without one.
        Close();
    }
    return opened;
}

void TestPatternOverlay::Close() {
    windows_.Close(WindowKind::TestPattern);
    if (!open_) {
        return;
    }
    open_ = false;
    if (const std::function<void()> closed = std::move(closed_)) {
        closed();
    }
}

void TestPatternOverlay::Refresh(const Settings& settings) {
    for (TTestPatternForm* form : windows_.FindAll<TTestPatternForm>(WindowKind::TestPattern)) {
        form->Refresh(settings.Omake, settings.Telop.FontName);
    }
}

BroadcastOverlays::BroadcastOverlays(const Settings& settings, std::function<OverlayScene()> scene)
    : settings_(settings), scene_(std::move(scene)) {}

void BroadcastOverlays::RebuildCallSigns() {
    callSigns_.Rebuild(settings_, scene_());
    if (testPattern_.IsOpen()) {
        callSigns_.Hide(); // the pattern stays clean until it closes
    }
}

void BroadcastOverlays::RebuildLogos() {
    logos_.Rebuild(settings_, scene_());
}

void BroadcastOverlays::Restack(PictureStacking stacking) {
    for (WindowKind kind : {WindowKind::Omake, WindowKind::Telop, WindowKind::Logo, WindowKind::CallSign}) {
        ForEachOverlay(windows_, kind, [stacking](TOverlayForm& form) { form.Restack(stacking); });
    }
}

void BroadcastOverlays::ShowOmake(double now, const LocaleFacts& locale) {
    omake_.Show(settings_, scene_(), now, locale);
}

void BroadcastOverlays::FollowDisplayChange() {
    testPattern_.Close();
    RebuildCallSigns();
    RebuildLogos();
}

bool BroadcastOverlays::OpenTestPattern() {
    if (testPattern_.IsOpen()) {
        return false;
    }
    if (settings_.Omake.CallSignWindow) {
        callSigns_.Hide();
    }
    // The call signs come back if the setting still wants them when the pattern goes.
    return testPattern_.Open(settings_, scene_(), [this] {
        if (settings_.Omake.CallSignWindow) {
            callSigns_.Show();
        }
    });
}

void BroadcastOverlays::SetTestPatternRefusal(std::function<bool(int monitorIndex)> refused) {
    testPattern_.SetRefusal(std::move(refused));
}

TTelopForm* BroadcastOverlays::OpenCaption(const std::wstring& text, TelopContext context) {
    omake_.Close();
    windows_.Close(WindowKind::Telop);
    return windows_.Adopt(WindowKind::Telop, TTelopForm::Create(text, settings_.Telop, std::move(context)));
}

} // namespace lumora
