// One pass of the clock, in a fixed order: the displayed time, the features driven by it, the
// visibility decision, the text, the face and its push to the screen.

#include "app/MasterForm.h"

#include "clock/DigitSource.h"
#include "clock/TimeText.h"

namespace lumora {
namespace {

double CurrentLocalDateTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return ComposeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

constexpr int BackGroundTransparent = 0;

} // namespace

void TMasterForm::UpdateClock(bool fullRedraw) {
    if (!clock_) {
        return;
    }
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
                                         .TimeSeparator = timeSeparator_,
                                         .DateSeparator = dateSeparator_,
                                         .PreviousText = previousText_,
                                         .HideAnimating = false});
    PaintFace(text.Text, text.WidthInCells, fullRedraw);
    previousText_ = text.Text;

    CompleteHide();
    if (auto mouseCommand = ApplyMouseBehaviour()) {
        showCommand = mouseCommand;
    }
    if (clock_->NeedsUpdate() || fullRedraw) {
        PushFace(fullRedraw);
    }
    if (showCommand) {
        ApplyShowCommand(*showCommand);
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
    face_.SetPicture(settings_.Design.BackGroundType == 3 ? LoadBitmapFile(settings_.Design.BackGroundFile)
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
    const FaceContext context = CurrentFaceContext();
    if (face_.Paint(text, widthInCells, fullRedraw, context) || fullRedraw) {
        clock_->SetFaceSize(face_.Size().Width, face_.Size().Height);
        clock_->SetNeedsUpdate(true);
    }
    if (text != previousText_) {
        clock_->SetNeedsUpdate(true);
    }
}

void TMasterForm::PushFace(bool fullRedraw) {
    PushOptions options;
    options.Layered = context_.LayeredWindowsAvailable;
    options.ColourDepth = colourDepth_;
    options.Opacity = static_cast<uint8_t>(std::clamp(settings_.View.AlphaBlend, 0, 255));
    options.KeyColour = derived_.ClockKeyColour;
    options.TransparentColour = derived_.ClockKeyColour;
    options.OpaqueBackground = settings_.Design.BackGroundType != BackGroundTransparent;
    options.EraseBackground = fullRedraw;
    clock_->Push(face_.Image(), options);
}

void TMasterForm::ApplyShowCommand(int command) {
    if (command == SW_HIDE) {
        clock_->Hide();
        return;
    }
    const bool first = !clock_->ShownOnce();
    clock_->Show(settings_.View.Placement.Left, settings_.View.Placement.Top);
    if (first) {
        // The window had no picture before it was first placed.
        PushFace(true);
    }
}

// Until the visibility rules with temporary display and the visibility key come, the clock
// shows in the minutes marked 1 and hides in the others.
std::optional<int> TMasterForm::DecideVisibility(const DateTimeParts& parts) {
    const size_t minute = static_cast<size_t>(parts.DayOfWeek * 1440 + parts.Hour * 60 + parts.Minute);
    const bool visible = minute < settings_.View.VisibleHours.size() && settings_.View.VisibleHours[minute] == 1;
    if (visible != clock_->Shown()) {
        return visible ? SW_SHOWNA : SW_HIDE;
    }
    return std::nullopt;
}

// Features that later parts of the program fill in.
void TMasterForm::StartAutomaticAdjustment(double) {}
void TMasterForm::StepTimer(double, const DateTimeParts&) {}
void TMasterForm::RefreshToolTips(double, const DateTimeParts&) {}
void TMasterForm::ArmTemporaryDisplay(double, const DateTimeParts&) {}
void TMasterForm::CompleteHide() {}
std::optional<int> TMasterForm::ApplyMouseBehaviour() {
    return std::nullopt;
}
void TMasterForm::RunTimeSignal(double) {}
void TMasterForm::RebuildLogos() {}
void TMasterForm::RebuildCallSigns() {}
void TMasterForm::CreatePendingOverlays() {}
void TMasterForm::ShowOptionsRequested() {}
void TMasterForm::StartForcedShow() {}

} // namespace lumora
