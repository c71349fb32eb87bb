#include "clock/CellAnimation.h"

#include "clock/TimeText.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int MaxSpeed = 120;

// Alphas wrap like a byte.
int ByteOf(int v) {
    return ((v % 256) + 256) % 256;
}

bool IsColonFlash(wchar_t from, wchar_t to) {
    auto separator = [](wchar_t c) { return c == L':' || c == L';'; };
    return (separator(from) && to == L'/') || (from == L'/' && separator(to));
}

class OpList {
public:
    void Add(wchar_t c, const Rect& destination, const Rect& source, int alpha = 255) {
        const int glyph = GlyphIndex(c);
        if (glyph < 0 || destination.Width <= 0 || destination.Height <= 0 || source.Width <= 0 || source.Height <= 0) {
            return;
        }
        ops.push_back({glyph, destination, source, alpha});
    }

    std::vector<CellDrawOp> ops;
};

} // namespace

int32_t ProgressEnd(int type, int cellWidth, int cellHeight) {
    switch (type) {
    case AnimationHorizontalRotation:
        return cellWidth;
    case AnimationVerticalRotation:
        return cellHeight;
    default:
        return 0;
    }
}

// A speed from a hand-edited file must neither divide by zero nor overflow.
int32_t AnimationStep(int length, int speed) {
    return length / (std::clamp(speed, 0, MaxSpeed) + 2) + 1;
}

int32_t AnimationWait(int type, int length, int speed) {
    int32_t w = std::clamp(speed, 0, MaxSpeed) + 1 - length;
    if (AnimatesAlongX(type)) {
        w /= 8;
    } else if (type == AnimationVerticalRotation) {
        w /= 2;
    }
    return std::max(w, 0);
}

std::vector<CellDrawOp> CellDrawOps(int type, wchar_t outgoing, wchar_t incoming, int32_t p, const Rect& cell) {
    const int x = cell.X;
    const int y = cell.Y;
    const int w = cell.Width;
    const int h = cell.Height;
    const Rect whole{0, 0, w, h};
    OpList out;
    if (!IsAnimated(type) || p == ProgressDone || p >= ProgressEnd(type, w, h)) {
        out.Add(incoming, cell, whole);
        return out.ops;
    }
    switch (type) {
    case AnimationHorizontalRotation:
        if (p < 0) {
            const int width = std::min(-p, w);
            out.Add(outgoing, {x + (w - width) / 2, y, width, h}, whole);
        } else {
            const int width = p > w + 1 ? w : p;
            out.Add(incoming, {x + (w - width) / 2, y, width, h}, whole);
        }
        break;
    case AnimationVerticalRotation:
        if (p < 0) {
            const int height = std::min(-p, h);
            out.Add(outgoing, {x, y + (h - height) / 2, w, height}, whole);
        } else {
            const int height = std::min(p, h);
            out.Add(incoming, {x, y + (h - height) / 2, w, height}, whole);
        }
        break;
    case AnimationRise:
        p = std::max(p, -h);
        out.Add(outgoing, {x, y, w, -p}, {0, h + p, w, -p});
        out.Add(incoming, {x, y - p, w, h + p}, {0, 0, w, h + p});
        break;
    case AnimationSink:
        p = std::max(p, -h);
        out.Add(outgoing, {x, y + h + p, w, -p}, {0, 0, w, -p});
        out.Add(incoming, {x, y, w, h + p}, {0, -p, w, h + p});
        break;
    case AnimationPushUp:
        p = std::max(p, -h);
        out.Add(outgoing, {x, y, w, -p}, whole);
        out.Add(incoming, {x, y - p, w, h + p}, whole);
        break;
    case AnimationPushDown:
        p = std::max(p, -h);
        out.Add(outgoing, {x, y + h + p, w, -p}, whole);
        out.Add(incoming, {x, y, w, h + p}, whole);
        break;
    case AnimationCrossFade: {
        p = std::max(p, -w);
        const int q = 255 / std::max(w, 1);
        const int k = -p;
        out.Add(outgoing, cell, whole, ByteOf(k * q - 1));
        out.Add(incoming, cell, whole, ByteOf(256 - k * q));
        break;
    }
    case AnimationCutFade: {
        // A cell one pixel wide would divide by zero.
        const int q = 255 / std::max(w / 2, 1);
        if (q * (p + 1) < -255) {
            out.Add(outgoing, cell, whole, 255 - ByteOf(q * (p + 1)));
        }
        if (q * p > -255) {
            out.Add(incoming, cell, whole, ByteOf(q * p));
        }
        break;
    }
    default:
        break;
    }
    return out.ops;
}

void CellAnimation::Begin(std::wstring_view text, std::wstring_view previousText, bool fullRedraw,
                          const AnimationSettings& animation, int cellWidth, int cellHeight) {
    const size_t count = text.size() + 1;
    outgoing_.resize(count, 0);
    progress_.resize(count, CellProgress{});
    wait_.resize(count, 0);
    for (size_t k = 1; k < count; ++k) {
        const wchar_t current = text[k - 1];
        const wchar_t previous = k <= previousText.size() ? previousText[k - 1] : 0;
        if (!fullRedraw && current == previous) {
            continue;
        }
        outgoing_[k] = previous;
        wait_[k] = 0;
        const bool whole = !IsAnimated(animation.Type) || fullRedraw ||
                           (animation.FlashColonType != 0 && IsColonFlash(previous, current));
        progress_[k] = whole ? CellProgress{cellWidth, cellHeight} : CellProgress{-cellWidth, -cellHeight};
    }
}

std::vector<CellDrawOp> CellAnimation::DrawOps(int k, wchar_t current, const Rect& cell, int type) const {
    const CellProgress& progress = progress_[static_cast<size_t>(k)];
    return CellDrawOps(type, outgoing_[static_cast<size_t>(k)], current, AnimatesAlongX(type) ? progress.X : progress.Y,
                       cell);
}

bool CellAnimation::Step(int k, int type, int speed, int cellWidth, int cellHeight) {
    CellProgress& progress = progress_[static_cast<size_t>(k)];
    int32_t& wait = wait_[static_cast<size_t>(k)];
    const bool changing = progress != CellProgress{};
    int32_t& p = AnimatesAlongX(type) ? progress.X : progress.Y;
    if (!IsAnimated(type) || p == ProgressDone || p >= ProgressEnd(type, cellWidth, cellHeight)) {
        progress = CellProgress{};
        wait = 0;
        return changing;
    }
    const int length = AnimatesAlongX(type) ? cellWidth : cellHeight;
    const int32_t step = AnimationStep(length, speed);
    if (step > 1) {
        p += step;
    } else if (wait >= AnimationWait(type, length, speed)) {
        wait = 0;
        ++p;
    } else {
        ++wait;
    }
    return true;
}

bool CellAnimation::ReachedHidePoint(int type) const {
    bool allDone = true;
    for (size_t k = 1; k < progress_.size(); ++k) {
        const int32_t p = AnimatesAlongX(type) ? progress_[k].X : progress_[k].Y;
        if (p >= 0 && p != ProgressDone) {
            return true;
        }
        allDone = allDone && progress_[k] == CellProgress{};
    }
    // Nothing left to animate: waiting longer would keep the clock up for good.
    return allDone;
}

} // namespace lumora
