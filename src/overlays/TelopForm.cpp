#include "overlays/TelopForm.h"

#include "shell/AppNames.h"
#include "overlays/OutlinedText.h"
#include "overlays/TelopText.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace lumora {
namespace {

constexpr UINT_PTR TelopTimerId = 1;
// A single character, and the text whose height is one row of the caption.
constexpr UINT CharacterFlags = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE;
constexpr wchar_t RowSample[] = L"Aあ";
// A line shown whole wraps at word breaks inside the row width.
constexpr UINT WholeLineFlags = DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK;

int64_t NowMs() {
    return static_cast<int64_t>(GetTickCount64());
}

} // namespace

std::unique_ptr<TTelopForm> TTelopForm::Create(std::wstring_view text, const TelopSettings& settings,
                                               const TelopContext& context) {
    const std::vector<std::wstring> lines = TelopLines(text);
    if (lines.empty()) {
        return nullptr;
    }
    std::unique_ptr<TTelopForm> form(new TTelopForm(settings, context));
    // A caption that cannot be built is simply not shown: it only announces what the program
    // reports elsewhere too.
    try {
        if (!form->Build(lines)) {
            return nullptr;
        }
    } catch (const std::exception&) {
        return nullptr;
    }
    return form;
}

bool TTelopForm::Build(const std::vector<std::wstring>& lines) {
    const int displayWidth = GetSystemMetrics(SM_CXSCREEN);
    const int displayHeight = GetSystemMetrics(SM_CYSCREEN);
    box_ = TelopBoxFor(displayWidth, displayHeight);
    font_ = CreateMaskFont(settings_.FontName, box_.FontHeight);
    if (!font_) {
        return false;
    }
    measure_ = std::make_unique<TextMeasure>(font_.Get());
    const RECT bounds{0, 0, box_.Width, box_.TextHeightLimit};
    const RECT row = measure_->Measure(RowSample, bounds, CharacterFlags);
    rowHeight_ = std::max<int>(row.bottom - row.top, 1);
    const Rect place = TelopWindowRect(box_, displayWidth, rowHeight_);
    lines_ = LayOutTelop(lines, settings_.Scroll, box_.RowWidth(), TelopRows, [this, &bounds](std::wstring_view c) {
        const RECT r = measure_->Measure(c, bounds, CharacterFlags);
        return static_cast<int>(r.right - r.left);
    });

    const ScreenRect rect{place.X, place.Y, place.X + place.Width, place.Y + place.Height};
    if (!CreateOverlay(names::TelopFormClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, rect, false)) {
        return false;
    }
    image_ = PixelBuffer(place.Width, place.Height, ToPixel(OverlayKey));
    sequencer_.emplace(CharacterCounts(lines_), settings_, NowMs());
    Present(sequencer_->Frame());
    return true;
}

void TTelopForm::Show() {
    ShowOnScreen();
    ArmTimer();
}

void TTelopForm::ShowOnScreen() {
    ShowOnTop();
    visible_ = true;
    shows_ = sequencer_->Shows();
}

void TTelopForm::ArmTimer() {
    const int64_t wait = std::clamp<int64_t>(sequencer_->NextTickAt() - NowMs(), USER_TIMER_MINIMUM, INT32_MAX);
    SetTimer(Handle(), TelopTimerId, static_cast<UINT>(wait), nullptr);
}

void TTelopForm::TelopTick() {
    bool open = false;
    // A failure inside a tick (a canvas GDI would not make, memory) ends the caption quietly:
    // nobody asked for it and nothing is lost.
    try {
        sequencer_->AdvanceTo(NowMs());
        const TelopFrame& frame = sequencer_->Frame();
        open = !frame.Closed;
        if (open) {
            Present(frame);
            const uint64_t shows = sequencer_->Shows();
            if (frame.Visible && (!visible_ || shows != shows_)) {
                ShowOnScreen();
            } else if (!frame.Visible && visible_) {
                ShowWindow(Handle(), SW_HIDE);
                visible_ = false;
            }
            ArmTimer();
        }
    } catch (const std::exception&) {
        open = false;
    }
    if (!open) {
        KillTimer(Handle(), TelopTimerId);
        DestroyWindow(Handle()); // the owner hears it through the closed handler
    }
}

// The image follows the frame; a hidden caption is kept up to date too, so it shows at once.
void TTelopForm::Present(const TelopFrame& frame) {
    if (Compose(frame)) {
        PushKeyed(image_, 255);
    }
}

// True when the image changed. A typed line only adds its new characters to what the image
// already holds, so typing costs one small character a tick.
bool TTelopForm::Compose(const TelopFrame& frame) {
    if (lines_.empty()) {
        return false;
    }
    const TelopLine& line = lines_[std::min(frame.Line, lines_.size() - 1)];
    const size_t typed = frame.Typing ? std::min(frame.Typed, line.Characters.size()) : 0;
    const bool sameLine = drawn_ && drawn_->Line == frame.Line && drawn_->Typing == frame.Typing;
    if (sameLine && typed == drawn_->Typed) {
        return false;
    }
    size_t from = 0;
    if (sameLine && typed > drawn_->Typed) {
        from = drawn_->Typed;
    } else {
        std::fill(image_.Pixels.begin(), image_.Pixels.end(), ToPixel(OverlayKey));
    }
    if (frame.Typing) {
        for (size_t k = from; k < typed; ++k) {
            DrawCharacter(line.Characters[k], line.Places[k]);
        }
    } else {
        DrawWholeLine(line.Text);
    }
    drawn_ = Drawn{frame.Line, frame.Typing, typed};
    return true;
}

void TTelopForm::DrawWholeLine(const std::wstring& text) {
    // The rim of the widest row still fits the window.
    const int width = box_.RowWidth();
    const RECT measured = measure_->Measure(text, {0, 0, width, box_.TextHeightLimit}, WholeLineFlags);
    const int textHeight = std::min<int>(measured.bottom, box_.TextHeightLimit);
    // Only rows that fit whole, rim included: a row cut in half by the window's edge looks broken.
    const int wholeRows = std::max((image_.Height - box_.OutlineWidth) / rowHeight_, 1);
    const int height = std::min(textHeight, wholeRows * rowHeight_);
    if (height <= 0 || width <= 0) {
        return;
    }
    TextMaskCanvas canvas(width, height);
    if (!canvas.Valid()) {
        throw std::runtime_error("no canvas for the caption's line");
    }
    canvas.Draw(font_.Get(), text, {0, 0, width, textHeight}, WholeLineFlags);
    DrawOutlinedText(image_, canvas.Mask(), 0, 0, box_.OutlineWidth / 2);
}

void TTelopForm::DrawCharacter(const std::wstring& character, const TelopPlace& place) {
    const RECT measured = measure_->Measure(character, {0, 0, box_.Width, box_.TextHeightLimit}, CharacterFlags);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    // One canvas for every character: typing draws one each tick.
    const int keptWidth = characterCanvas_ ? characterCanvas_->Width() : 0;
    const int keptHeight = characterCanvas_ ? characterCanvas_->Height() : 0;
    if (keptWidth < width || keptHeight < height) {
        characterCanvas_ = std::make_unique<TextMaskCanvas>(std::max(width, keptWidth), std::max(height, keptHeight));
    }
    if (!characterCanvas_->Valid()) {
        throw std::runtime_error("no canvas for the caption's characters");
    }
    characterCanvas_->Clear();
    characterCanvas_->Draw(font_.Get(), character, {0, 0, width, height}, CharacterFlags);
    const int rowTop = place.Row * (image_.Height / TelopRows);
    DrawOutlinedText(image_, characterCanvas_->Mask(), place.X, rowTop, box_.OutlineWidth / 2);
}

void TTelopForm::MouseDown() {
    KillTimer(Handle(), TelopTimerId);
    // The window's owner may release this object once it has heard of the close.
    const std::function<void()> clicked = Context().Clicked;
    DestroyWindow(Handle());
    if (clicked) {
        clicked();
    }
}

LRESULT TTelopForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == TelopTimerId) {
            TelopTick();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        MouseDown();
        return 0;
    default:
        break;
    }
    return TOverlayForm::HandleMessage(message, wParam, lParam);
}

} // namespace lumora
