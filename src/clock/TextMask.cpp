#include "clock/TextMask.h"

#include "clock/FontDigits.h"

#include <algorithm>

namespace lumora {

TextMaskCanvas::TextMaskCanvas(int width, int height) {
    if (width <= 0 || height <= 0 || !dib_.Create(width, height)) {
        return;
    }
    selected_ = std::make_unique<SelectedObject>(dc_.Get(), dib_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
    SetTextColor(dc_.Get(), RGB(0, 0, 0));
    Clear();
}

void TextMaskCanvas::Clear() {
    if (Valid()) {
        GdiFlush();
        std::fill(dib_.Bits(), dib_.Bits() + static_cast<size_t>(Width()) * static_cast<size_t>(Height()), 0xFFFFFFu);
    }
}

void TextMaskCanvas::Draw(HFONT font, std::wstring_view text, RECT rect, UINT flags) {
    if (!Valid() || text.empty()) {
        return;
    }
    SelectedObject selected(dc_.Get(), font);
    DrawTextW(dc_.Get(), text.data(), static_cast<int>(text.size()), &rect, flags);
}

GlyphMask TextMaskCanvas::Mask() const {
    if (!Valid()) {
        return {};
    }
    GdiFlush(); // GDI may still hold text it has not written to the bits
    const size_t count = static_cast<size_t>(Width()) * static_cast<size_t>(Height());
    return DarkPixels({dib_.Bits(), count}, Width(), Height());
}

RECT TextMeasure::Measure(std::wstring_view text, RECT box, UINT flags) const {
    DrawTextW(dc_.Get(), text.data(), static_cast<int>(text.size()), &box, flags | DT_CALCRECT);
    return box;
}

UniqueFont CreateMaskFont(const std::wstring& faceName, int cellHeight) {
    // A positive height asks for the cell height.
    return UniqueFont(CreateFontW(cellHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                  faceName.c_str()));
}

GlyphMask RasteriseText(HFONT font, std::wstring_view text, int width, int height, RECT rect, UINT flags) {
    TextMaskCanvas canvas(width, height);
    if (!canvas.Valid()) {
        return {};
    }
    canvas.Draw(font, text, rect, flags);
    return canvas.Mask();
}

} // namespace lumora
