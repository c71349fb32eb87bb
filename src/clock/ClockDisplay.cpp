#include "clock/ClockDisplay.h"

#include "clock/DigitSource.h"
#include "clock/TimeText.h"
#include "clock/SystemFigures.h"

#include <windowsx.h>

#include <algorithm>
#include <array>

namespace lumora {
namespace {

constexpr UINT ForcedShowInterval = 10;

bool KeyDown(int virtualKey) {
    return virtualKey != 0 && (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

// The visibility-change key with every modifier its value asks for.
bool VisibilityKeyHeld(int shortcut) {
    const ShortcutKeys keys = SplitShortcut(shortcut);
    return KeyDown(keys.VirtualKey) && (!keys.Shift || KeyDown(VK_SHIFT)) && (!keys.Ctrl || KeyDown(VK_CONTROL)) &&
           (!keys.Alt || KeyDown(VK_MENU));
}

std::wstring ClassNameOf(HWND hwnd) {
    wchar_t name[256] = {};
    return GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) > 0 ? name : L"";
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t title[257] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG, 100, nullptr);
    return title;
}

// Windows the always-in-front clock never fights with: tooltips, nameless windows and those the
// user listed.
bool LeftInFront(HWND hwnd, const std::vector<IgnoredWindow>& rules) {
    const std::wstring name = ClassNameOf(hwnd);
    return name.empty() || name == L"tooltips_class32" || AnyIgnoreRuleMatches(rules, TitleOf(hwnd), name);
}

} // namespace

std::unique_ptr<ClockDisplay> ClockDisplay::Create(HWND master, const Settings& settings, bool layered,
                                                   ClockWindowEvents events) {
    std::unique_ptr<ClockDisplay> clock(new ClockDisplay(settings, layered));
    events.HintText = [raw = clock.get()] { return raw->hint_; };
    clock->window_ = TLumoraForm::Create(master, ClockWindowOptionsFrom(settings), std::move(events));
    if (!clock->window_) {
        return nullptr;
    }
    return clock;
}

void ClockDisplay::ApplyWindowSettings() {
    window_->SetOptions(ClockWindowOptionsFrom(settings_));
}

void ClockDisplay::ApplyStacking() {
    window_->ApplyStacking(StackingModeFromSetting(settings_.View.Placement.ZOrder));
}

void ClockDisplay::ApplyClickThrough() {
    window_->SetClickThrough(settings_.Operation.OnMouseHideType != OnMouseNone, layered_);
}

void ClockDisplay::BuildDigitImages(const SystemFacts& facts) {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const RawDigits raw = LoadRawDigits(settings_.Design, facts.Screen.Height, facts.Dpi);
    StripRequest request;
    request.PointSize = raw.PointSize;
    request.Italic = raw.Italic;
    request.Colours = ResolveFaceColours(settings_.Design, facts.Colours, derived_.ClockKeyColour);
    request.Layered = layered_;
    face_.SetStrip(raw.Untouched
                       ? BuildUntouchedStrip(raw.Picture, raw.CellWidth, raw.CellHeight, settings_.Design, request)
                       : BuildGlyphStrip(raw.Mask, raw.CellWidth, raw.CellHeight, settings_.Design, request));
    face_.SetPicture(settings_.Design.BackGroundType == BackGroundPicture
                         ? LoadBitmapFile(settings_.Design.BackGroundFile)
                         : std::nullopt);
    SetCursor(previous);
}

void ClockDisplay::RefreshHint(double displayed, const DateTimeParts& parts, const LocaleFacts& locale) {
    if (parts.Second == lastHintSecond_) {
        return;
    }
    lastHintSecond_ = parts.Second;
    if (settings_.View.ToolTipStyle > 0 && !visibility_.MouseHidden()) {
        hint_ = ExpandFormatNow(settings_.View.ToolTipFormat, displayed, locale);
    }
}

bool ClockDisplay::TemporaryDisplayDue(double displayed, const DateTimeParts& parts) {
    if (VisibleHoursEntry(settings_.View.VisibleHours, parts.DayOfWeek, parts.Hour, parts.Minute) != EntryTemporary) {
        return false;
    }
    const DateTimeParts shifted = SplitDateTime(displayed - MillisecondsToDays(settings_.View.AutoHideTiming));
    if (shifted.Second != 0) {
        temporaryDisplayArmed_ = true;
        return false;
    }
    return std::exchange(temporaryDisplayArmed_, false);
}

VisibilityDecision ClockDisplay::DecideVisibility(const PassContext& pass, bool telopShowing,
                                                  bool taskbarClockWasVisible) {
    window_->SetNeedsUpdate(false);
    showCommand_.reset();
    visibility_.KeyActive(VisibilityKeyHeld(settings_.Operation.VisibleChangeKey), settings_.Operation.VisibleChangeKey,
                          settings_.View.VisibleChangeType);
    const DateTimeParts& parts = pass.Taken;
    const VisibilityDecision decision = visibility_.Decide(
        {.Entry = VisibleHoursEntry(settings_.View.VisibleHours, parts.DayOfWeek, parts.Hour, parts.Minute),
         .Shown = window_->Shown(),
         .ShownOnce = window_->ShownOnce(),
         .TelopShowing = telopShowing,
         .OnMouseHideType = settings_.Operation.OnMouseHideType,
         .HideTaskTrayClock = settings_.View.HideTaskTrayClock,
         .TaskbarClockWasVisible = taskbarClockWasVisible});
    if (decision.ClickThrough) {
        window_->SetClickThrough(*decision.ClickThrough, layered_);
    }
    if (decision.NeedsUpdate) {
        window_->SetNeedsUpdate(true);
    }
    switch (decision.Action) {
    case VisibilityAction::Show:
        if (decision.FirstShow) {
            window_->PlaceForFirstShow(FirstShowPosition(settings_.View.Placement.Left, settings_.View.Placement.Top,
                                                         settings_.Operation.SnapWindow,
                                                         settings_.Operation.NoProtrudeSnap));
        }
        window_->MarkShown(true);
        // A first show also needs the picture, which the window did not have yet.
        window_->SetNeedsUpdate(true);
        showCommand_ = SW_SHOWNA;
        break;
    case VisibilityAction::HideNow:
        window_->MarkShown(false);
        showCommand_ = SW_HIDE;
        break;
    case VisibilityAction::RequestHide:
    case VisibilityAction::None:
        break;
    }
    return decision;
}

void ClockDisplay::Render(const PassContext& pass, const SystemFacts& facts) {
    const TimeText text = BuildTimeText({.Format = settings_.Format,
                                         .Animation = settings_.Animation,
                                         .Alignment = settings_.Design.Alignment,
                                         .TimeFormat = derived_.TimeFormat,
                                         .Taken = pass.Taken,
                                         .Shown = SplitDateTime(pass.Displayed),
                                         .TimeSeparator = facts.Locale.TimeSeparator,
                                         .DateSeparator = facts.Locale.DateSeparator,
                                         .PreviousText = previousText_,
                                         .HideAnimating = visibility_.HideTextWanted(settings_.Animation.Type)});
    PaintFace(text.Text, text.WidthInCells, pass.FullRedraw, facts);
    previousText_ = text.Text;
    if (pass.FullRedraw) {
        ++fullRedraws_;
    }

    visibility_.CheckHideReady(settings_.Animation.Type, face_.Cells());
    if (auto mouseCommand = ApplyMouseBehaviour(pass.FullRedraw)) {
        showCommand_ = mouseCommand;
    }
    if (window_->NeedsUpdate() || pass.FullRedraw) {
        PushFace(pass.FullRedraw, facts.ColourDepth);
    }
    if (showCommand_) {
        window_->ApplyShowCommand(*std::exchange(showCommand_, std::nullopt));
    }
}

FaceContext ClockDisplay::CurrentFaceContext(const SystemFacts& facts) const {
    FaceContext context;
    context.Design = &settings_.Design;
    context.Colours = ResolveFaceColours(settings_.Design, facts.Colours, derived_.ClockKeyColour);
    context.Layered = layered_;
    context.ColourDepth = facts.ColourDepth;
    return context;
}

void ClockDisplay::PaintFace(const std::wstring& text, int widthInCells, bool fullRedraw, const SystemFacts& facts) {
    const FacePaint painted =
        face_.Paint({text, previousText_, widthInCells, fullRedraw, &settings_.Animation}, CurrentFaceContext(facts));
    if (painted.Resized || fullRedraw) {
        window_->SetFaceSize(face_.Size().Width, face_.Size().Height);
        window_->SetNeedsUpdate(true);
    }
    if (painted.NeedsUpdate || text != previousText_) {
        window_->SetNeedsUpdate(true);
    }
}

void ClockDisplay::PushFace(bool fullRedraw, int colourDepth) {
    PushOptions options;
    options.Layered = layered_;
    options.ColourDepth = colourDepth;
    options.Opacity = static_cast<uint8_t>(std::clamp(settings_.View.AlphaBlend, 0, 255));
    options.KeyColour = derived_.ClockKeyColour;
    options.TransparentColour = visibility_.HoleDrawn() ? derived_.HoleColour : derived_.ClockKeyColour;
    options.OpaqueBackground = settings_.Design.BackGroundType != BackGroundTransparent;
    options.EraseBackground = fullRedraw;
    window_->Push(face_.Image(), options);
}

std::optional<int> ClockDisplay::ApplyMouseBehaviour(bool fullRedraw) {
    const auto& o = settings_.Operation;
    MouseInput input;
    input.OnMouseHideType = o.OnMouseHideType;
    input.Threshold = o.OnMouseHideThreshold;
    input.HoleSize = o.OnMouseHoleSize;
    input.Shown = window_->Shown();
    input.FullRedraw = fullRedraw;
    input.NeedsUpdate = window_->NeedsUpdate();
    input.Layered = layered_;
    input.BackGroundType = settings_.Design.BackGroundType;
    // Each of these asks the window server; with no on-mouse behaviour nothing needs them, and a
    // pass runs thirty times a second.
    if (o.OnMouseHideType != OnMouseNone) {
        // Where the cursor was when the tick was posted, which the message already carries;
        // asking for it again costs a server round trip thirty times a second under Wine.
        const DWORD position = GetMessagePos();
        RECT window{};
        GetWindowRect(window_->Handle(), &window);
        // The button first: the capture is only worth asking about while it is down.
        input.CapturedWithLeftButton = KeyDown(VK_LBUTTON) && GetCapture() == window_->Handle();
        input.AbortKeyDown = KeyDown(o.OnMouseAbortKey);
        input.Moving = window_->Moving();
        input.Cursor = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        input.Window = {window.left, window.top, window.right, window.bottom};
        input.HintVisible = window_->HintVisible();
    }
    const MouseDecision decision = visibility_.ApplyMouse(input);
    window_->SetClickThrough(decision.ClickThrough, layered_);
    if (decision.RemoveHole) {
        face_.ClearHole();
    }
    if (decision.DrawHole) {
        // Black is transparent in the layered picture; the region cuts out the hole colour.
        face_.CutHole(*decision.DrawHole, layered_ ? 0 : ToPixel(derived_.HoleColour));
    }
    if (decision.NeedsUpdate) {
        window_->SetNeedsUpdate(true);
    }
    if (decision.HideNow) {
        window_->MarkShown(false);
        return SW_HIDE;
    }
    return std::nullopt;
}

void ClockDisplay::HideNow() {
    window_->MarkShown(false);
    window_->ApplyShowCommand(SW_HIDE);
}

void ClockDisplay::StartForcedShow(HWND timerWindow, UINT_PTR timerId) {
    visibility_.StartForcedShow();
    KillTimer(timerWindow, timerId);
    SetTimer(timerWindow, timerId, ForcedShowInterval, nullptr);
}

bool ClockDisplay::ForcedShowTick() {
    return !visibility_.ForcedShowTick(settings_.View.AutoHideTime);
}

void ClockDisplay::ArrangeCorner(Corner corner) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT window{};
    if (!GetWindowRect(window_->Handle(), &window) ||
        !GetMonitorInfoW(MonitorFromWindow(window_->Handle(), MONITOR_DEFAULTTONEAREST), &info)) {
        return;
    }
    const ScreenPoint position =
        CornerPosition(corner, window.right - window.left, window.bottom - window.top,
                       {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom},
                       settings_.Operation.SnapWindow, settings_.Operation.SnapPoint);
    SetWindowPos(window_->Handle(), nullptr, position.X, position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ClockDisplay::KeyMove() {
    PostMessageW(window_->Handle(), WM_SYSCOMMAND, SC_MOVE, 0);
}

bool ClockDisplay::KeepsInFront() const {
    return StackingModeFromSetting(settings_.View.Placement.ZOrder) == StackingMode::AlwaysInFront;
}

void ClockDisplay::KeepInFront() {
    if (!KeepsInFront()) {
        return;
    }
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || LeftInFront(foreground, settings_.IgnoreWindows)) {
        return;
    }
    HWND top = GetTopWindow(nullptr);
    if (top == nullptr || top == lastTopWindow_) {
        return;
    }
    lastTopWindow_ = top;
    if (LeftInFront(top, settings_.IgnoreWindows)) {
        return;
    }
    SetWindowPos(window_->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

std::optional<ScreenPoint> ClockDisplay::SavedPosition() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!window_->ShownOnce() || !GetWindowPlacement(window_->Handle(), &placement)) {
        return std::nullopt;
    }
    return ScreenPoint{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
}

} // namespace lumora
