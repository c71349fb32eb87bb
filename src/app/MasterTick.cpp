// One pass of the clock, in a fixed order: the displayed time, the features driven by it, the
// visibility decision, the text, the face with its transitions, the mouse, and the push to the
// screen.

#include "app/MasterForm.h"

#include "clock/DigitSource.h"
#include "clock/TimeText.h"

#include <windowsx.h>

namespace lumora {
namespace {

double CurrentLocalDateTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return ComposeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

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

} // namespace

void TMasterForm::UpdateClock(bool fullRedraw) {
    if (!clock_) {
        return;
    }
    struct PassMark {
        bool& flag;
        explicit PassMark(bool& f) : flag(f) { flag = true; }
        ~PassMark() { flag = false; }
    } mark(inPass_);

    const double now = CurrentLocalDateTime();
    StartAutomaticAdjustment(now);
    double displayed = DisplayedTime(now, settings_.WorldClock, timeZoneBias_);
    const DateTimeParts taken = SplitDateTime(displayed);
    StepTimer(displayed, taken);
    RefreshToolTips(displayed, taken);
    ArmTemporaryDisplay(displayed, taken);
    displayed = WithAnimationLead(displayed, settings_.Animation);

    clock_->SetNeedsUpdate(false);
    std::optional<int> showCommand = DecideVisibility(taken);

    const TimeText text = BuildTimeText({.Format = settings_.Format,
                                         .Animation = settings_.Animation,
                                         .Alignment = settings_.Design.Alignment,
                                         .TimeFormat = derived_.TimeFormat,
                                         .Taken = taken,
                                         .Shown = SplitDateTime(displayed),
                                         .TimeSeparator = locale_.TimeSeparator,
                                         .DateSeparator = locale_.DateSeparator,
                                         .PreviousText = previousText_,
                                         .HideAnimating = visibility_.HideTextWanted(settings_.Animation.Type)});
    PaintFace(text.Text, text.WidthInCells, fullRedraw);
    previousText_ = text.Text;

    CompleteHide();
    if (auto mouseCommand = ApplyMouseBehaviour(fullRedraw)) {
        showCommand = mouseCommand;
    }
    if (clock_->NeedsUpdate() || fullRedraw) {
        PushFace(fullRedraw);
    }
    if (showCommand) {
        clock_->ApplyShowCommand(*showCommand);
    }
    if (settings_.CuckooClock.CuckooClockMode != 0) {
        RunTimeSignal(displayed);
    }
    if (!firstPassDone_) {
        RebuildLogos();
        RebuildCallSigns();
        firstPassDone_ = true;
    }
    if (overlayCreationPending_) {
        overlayCreationPending_ = false;
        CreatePendingOverlays();
    }
}

void TMasterForm::BuildDigitImages() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const RawDigits raw = LoadRawDigits(settings_.Design, screenSize_.cy, dpi_);
    StripRequest request;
    request.PointSize = raw.PointSize;
    request.Italic = raw.Italic;
    request.Colours = ResolveFaceColours(settings_.Design, systemColours_, derived_.ClockKeyColour);
    request.Layered = context_.LayeredWindowsAvailable;
    face_.SetStrip(raw.Untouched
                       ? BuildUntouchedStrip(raw.Picture, raw.CellWidth, raw.CellHeight, settings_.Design, request)
                       : BuildGlyphStrip(raw.Mask, raw.CellWidth, raw.CellHeight, settings_.Design, request));
    face_.SetPicture(settings_.Design.BackGroundType == BackGroundPicture
                         ? LoadBitmapFile(settings_.Design.BackGroundFile)
                         : std::nullopt);
    SetCursor(previous);
}

FaceContext TMasterForm::CurrentFaceContext() const {
    FaceContext context;
    context.Design = &settings_.Design;
    context.Colours = ResolveFaceColours(settings_.Design, systemColours_, derived_.ClockKeyColour);
    context.Layered = context_.LayeredWindowsAvailable;
    context.ColourDepth = colourDepth_;
    return context;
}

void TMasterForm::PaintFace(const std::wstring& text, int widthInCells, bool fullRedraw) {
    const FacePaint painted =
        face_.Paint({text, previousText_, widthInCells, fullRedraw, &settings_.Animation}, CurrentFaceContext());
    if (painted.Resized || fullRedraw) {
        clock_->SetFaceSize(face_.Size().Width, face_.Size().Height);
        clock_->SetNeedsUpdate(true);
    }
    if (painted.NeedsUpdate || text != previousText_) {
        clock_->SetNeedsUpdate(true);
    }
}

void TMasterForm::PushFace(bool fullRedraw) {
    PushOptions options;
    options.Layered = context_.LayeredWindowsAvailable;
    options.ColourDepth = colourDepth_;
    options.Opacity = static_cast<uint8_t>(std::clamp(settings_.View.AlphaBlend, 0, 255));
    options.KeyColour = derived_.ClockKeyColour;
    options.TransparentColour = visibility_.HoleDrawn() ? derived_.HoleColour : derived_.ClockKeyColour;
    options.OpaqueBackground = settings_.Design.BackGroundType != BackGroundTransparent;
    options.EraseBackground = fullRedraw;
    clock_->Push(face_.Image(), options);
}

// Shows or hides the taskbar's own clock while ours is on screen.
void TMasterForm::ShowTaskbarClock(bool show) {
    HWND taskbarClock = trayIcon_ ? trayIcon_->TaskbarClockWindow() : nullptr;
    if (taskbarClock == nullptr) {
        return;
    }
    const bool visible = IsWindowVisible(taskbarClock) != FALSE;
    taskbarClockWasVisible_ = visible;
    ShowWindow(taskbarClock, show ? SW_SHOWNA : SW_HIDE);
    if (visible != show) {
        RefreshNotificationArea();
    }
}

std::optional<int> TMasterForm::DecideVisibility(const DateTimeParts& parts) {
    visibility_.KeyActive(VisibilityKeyHeld(settings_.Operation.VisibleChangeKey), settings_.Operation.VisibleChangeKey,
                          settings_.View.VisibleChangeType);
    const VisibilityDecision decision = visibility_.Decide(
        {.Entry = VisibleHoursEntry(settings_.View.VisibleHours, parts.DayOfWeek, parts.Hour, parts.Minute),
         .Shown = clock_->Shown(),
         .ShownOnce = clock_->ShownOnce(),
         .TelopShowing = telopShowing_,
         .OnMouseHideType = settings_.Operation.OnMouseHideType,
         .HideTaskTrayClock = settings_.View.HideTaskTrayClock,
         .TaskbarClockWasVisible = taskbarClockWasVisible_});
    if (decision.ClickThrough) {
        clock_->SetClickThrough(*decision.ClickThrough, context_.LayeredWindowsAvailable);
    }
    if (decision.HideTaskbarClock) {
        ShowTaskbarClock(false);
    }
    if (decision.RestoreTaskbarClock) {
        ShowTaskbarClock(true);
    }
    if (decision.NeedsUpdate) {
        clock_->SetNeedsUpdate(true);
    }
    switch (decision.Action) {
    case VisibilityAction::Show:
        if (decision.FirstShow) {
            clock_->PlaceForFirstShow(FirstShowPosition(settings_.View.Placement.Left, settings_.View.Placement.Top,
                                                        settings_.Operation.SnapWindow,
                                                        settings_.Operation.NoProtrudeSnap));
            overlayCreationPending_ = true;
        }
        clock_->MarkShown(true);
        // A first show also needs the picture, which the window did not have yet.
        clock_->SetNeedsUpdate(true);
        return SW_SHOWNA;
    case VisibilityAction::HideNow:
        clock_->MarkShown(false);
        return SW_HIDE;
    case VisibilityAction::RequestHide:
    case VisibilityAction::None:
        break;
    }
    return std::nullopt;
}

void TMasterForm::CompleteHide() {
    visibility_.CheckHideReady(settings_.Animation.Type, face_.Cells());
}

std::optional<int> TMasterForm::ApplyMouseBehaviour(bool fullRedraw) {
    const auto& o = settings_.Operation;
    MouseInput input;
    input.OnMouseHideType = o.OnMouseHideType;
    input.Threshold = o.OnMouseHideThreshold;
    input.HoleSize = o.OnMouseHoleSize;
    input.Shown = clock_->Shown();
    input.FullRedraw = fullRedraw;
    input.NeedsUpdate = clock_->NeedsUpdate();
    input.Layered = context_.LayeredWindowsAvailable;
    input.BackGroundType = settings_.Design.BackGroundType;
    // Each of these asks the window server; with no on-mouse behaviour nothing needs them, and a
    // pass runs thirty times a second.
    if (o.OnMouseHideType != OnMouseNone) {
        // Where the cursor was when the tick was posted, which the message already carries;
        // asking for it again costs a server round trip thirty times a second under Wine.
        const DWORD position = GetMessagePos();
        const POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        RECT window{};
        GetWindowRect(clock_->Handle(), &window);
        // The button first: the capture is only worth asking about while it is down.
        input.CapturedWithLeftButton = KeyDown(VK_LBUTTON) && GetCapture() == clock_->Handle();
        input.AbortKeyDown = KeyDown(o.OnMouseAbortKey);
        input.Moving = clock_->Moving();
        input.Cursor = {cursor.x, cursor.y};
        input.Window = {window.left, window.top, window.right, window.bottom};
        input.HintVisible = clock_->HintVisible();
    }
    const MouseDecision decision = visibility_.ApplyMouse(input);
    clock_->SetClickThrough(decision.ClickThrough, context_.LayeredWindowsAvailable);
    if (decision.RemoveHole) {
        face_.ClearHole();
    }
    if (decision.DrawHole) {
        // Black is transparent in the layered picture; the region cuts out the hole colour.
        face_.CutHole(*decision.DrawHole, context_.LayeredWindowsAvailable ? 0 : ToPixel(derived_.HoleColour));
    }
    if (decision.NeedsUpdate) {
        clock_->SetNeedsUpdate(true);
    }
    if (decision.HideNow) {
        clock_->MarkShown(false);
        return SW_HIDE;
    }
    return std::nullopt;
}

void TMasterForm::StartForcedShow() {
    visibility_.StartForcedShow();
    KillTimer(Handle(), ForcedShowTimer);
    SetTimer(Handle(), ForcedShowTimer, ForcedShowInterval, nullptr);
}

void TMasterForm::ForcedShowTick() {
    if (visibility_.ForcedShowTick(settings_.View.AutoHideTime)) {
        KillTimer(Handle(), ForcedShowTimer);
    }
}

// A minute marked for temporary display fires the forced show once, on the first pass whose
// time (moved by the timing) falls in second 0.
void TMasterForm::ArmTemporaryDisplay(double displayed, const DateTimeParts& parts) {
    if (VisibleHoursEntry(settings_.View.VisibleHours, parts.DayOfWeek, parts.Hour, parts.Minute) != EntryTemporary) {
        return;
    }
    const DateTimeParts shifted = SplitDateTime(displayed - MillisecondsToDays(settings_.View.AutoHideTiming));
    if (shifted.Second != 0) {
        temporaryDisplayArmed_ = true;
        return;
    }
    if (temporaryDisplayArmed_) {
        temporaryDisplayArmed_ = false;
        TaskTrayIconClick(ClickSender::Master);
    }
}

// Features that later parts of the program fill in.
void TMasterForm::StartAutomaticAdjustment(double) {}
void TMasterForm::StepTimer(double, const DateTimeParts&) {}
void TMasterForm::RunTimeSignal(double) {}
void TMasterForm::RebuildLogos() {}
void TMasterForm::RebuildCallSigns() {}
void TMasterForm::CreatePendingOverlays() {}
void TMasterForm::ShowOptionsRequested() {}

} // namespace lumora
