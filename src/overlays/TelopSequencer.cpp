#include "overlays/TelopSequencer.h"

#include "overlays/TelopText.h"

#include <algorithm>
#include <utility>

namespace lumora {

TelopSequencer::TelopSequencer(std::vector<size_t> characterCounts, const TelopSettings& settings, int64_t startMs)
    : counts_(std::move(characterCounts)), flash_(settings.Flash),
      // With a single line there is nothing between the title and the closing line to type out.
      scroll_(settings.Scroll && counts_.size() > 2),
      // A negative count would keep the title flashing for good.
      flashSteps_(static_cast<int64_t>(std::max(settings.FlashCount, 0)) + 3), flashSpeed_(settings.FlashSpeed),
      changeSpeed_(settings.ChangeSpeed), scrollSpeed_(settings.ScrollSpeed), tickAt_(startMs) {
    if (counts_.empty()) {
        Close();
        return;
    }
    StartTelop();
    frame_.Visible = true;
    tickAt_ += interval_;
}

void TelopSequencer::AdvanceTo(int64_t nowMs) {
    while (!frame_.Closed && tickAt_ <= nowMs) {
        TelopTick();
        tickAt_ += interval_;
    }
}

void TelopSequencer::StartTelop() {
    step_ = 0;
    lineIndex_ = 0;
    charIndex_ = 0;
    RenderTelop();
    Restart(flash_ ? flashSpeed_ : changeSpeed_ / 2);
}

bool TelopSequencer::TypedLine() const {
    return IsTypedLine(lineIndex_, counts_.size(), scroll_);
}

void TelopSequencer::RenderTelop() {
    frame_.Line = lineIndex_;
    frame_.Typing = TypedLine();
    // A new typed line starts on a cleared page, so the image holds its first characters only.
    frame_.Typed = frame_.Typing ? charIndex_ + 1 : 0;
}

void TelopSequencer::Restart(int32_t interval) {
    interval_ = std::max(interval, ShortestTelopInterval);
}

void TelopSequencer::Close() {
    frame_.Closed = true;
    frame_.Visible = false;
}

void TelopSequencer::Show() {
    frame_.Visible = true;
    ++shows_;
}

void TelopSequencer::TelopTick() {
    const int64_t lastTitleStep = 2 * flashSteps_ - 1;
    const size_t closing = counts_.size() - 1;

    if (step_ >= 0 && step_ < lastTitleStep) {
        if (flash_) {
            // Four ticks on, then off and on in turns, ending off.
            if (step_ < 4 || step_ % 2 != 0) {
                Show();
            } else {
                frame_.Visible = false;
            }
            ++step_;
        } else {
            step_ = lastTitleStep;
        }
        return;
    }

    if (scroll_) {
        if (step_ == lastTitleStep) {
            // The first character is drawn now; a window hidden by the flashing shows on the next tick.
            ++lineIndex_;
            charIndex_ = 0;
            RenderTelop();
            ++step_;
            Restart(scrollSpeed_);
        } else if (step_ < 0) {
            frame_.Visible = false;
            if (lineIndex_ > closing) {
                ++pass_;
                StartTelop();
                Show();
            } else if (pass_ == 0) {
                ++lineIndex_;
                Restart(changeSpeed_);
            } else {
                Close();
            }
        } else if (lineIndex_ == closing) {
            step_ = -2;
            charIndex_ = 0;
            RenderTelop();
            Show();
            ++step_;
            Restart(changeSpeed_);
        } else if (counts_[lineIndex_] <= charIndex_) {
            // The whole line has stood for one tick; the next one starts on the tick after.
            ++lineIndex_;
            charIndex_ = 0;
        } else {
            if (charIndex_ + 1 >= counts_[lineIndex_]) {
                Restart(changeSpeed_ / 2);
            } else if (charIndex_ == 0) {
                Restart(scrollSpeed_);
            }
            RenderTelop();
            ++charIndex_;
            ++step_;
            if (!frame_.Visible) {
                Show();
            }
        }
        return;
    }

    if (lineIndex_ > closing) {
        ++pass_;
        StartTelop();
        Show();
    } else if (lineIndex_ == closing) {
        if (pass_ == 0) {
            frame_.Visible = false;
            ++lineIndex_;
            Restart(changeSpeed_);
        } else {
            Close();
        }
    } else {
        ++step_;
        ++lineIndex_;
        charIndex_ = 0;
        RenderTelop();
        Show();
        Restart(changeSpeed_);
    }
}

} // namespace lumora
