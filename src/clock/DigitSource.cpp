#include "clock/DigitSource.h"

#include "clock/GlyphStrip.h"
#include "shell/FileIo.h"
#include "shell/GdiObjects.h"

#include <windows.h>

#include <array>
#include <cmath>

namespace lumora {
namespace {

constexpr int DefaultBuiltInStrip = 10;
constexpr size_t MaxBitmapFileSize = 64 * 1024 * 1024;

int BuiltInStripId(int style, int size) {
    const int s = style >= 0 && style <= 2 ? style : 0;
    const int z = size >= 0 && size <= 2 ? size : 0;
    return DefaultBuiltInStrip + 3 * s + z;
}

RawDigits FromMask(GlyphMask mask, int dpi) {
    RawDigits raw;
    raw.CellWidth = mask.Width / GlyphCount;
    raw.CellHeight = mask.Height;
    raw.PointSize = PointSizeOfPixelHeight(raw.CellHeight, dpi);
    raw.Mask = std::move(mask);
    return raw;
}

RawDigits LoadBuiltIn(int id, int dpi) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)); // RT_BITMAP
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes != nullptr) {
        if (auto strip = DecodeDib({bytes, SizeofResource(module, resource)})) {
            return FromMask(SilhouetteOf(*strip, true), dpi);
        }
    }
    // The program's own resources are broken: draw empty cells rather than nothing at all.
    RawDigits empty;
    empty.CellWidth = 18;
    empty.CellHeight = 32;
    empty.Mask = GlyphMask(18 * GlyphCount, 32);
    return empty;
}

RawDigits LoadGlyphFile(const DesignSettings& design, int dpi) {
    auto image = LoadBitmapFile(design.DigitFile, GlyphFileLimits);
    if (!image || image->Width < GlyphCount) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    if (!design.DigitUntouched) {
        return FromMask(SilhouetteOf(*image), dpi);
    }
    RawDigits raw;
    raw.CellWidth = image->Width / GlyphCount;
    raw.CellHeight = image->Height;
    raw.PointSize = PointSizeOfPixelHeight(raw.CellHeight, dpi);
    raw.Picture = std::move(*image);
    raw.Untouched = true;
    return raw;
}

std::wstring GlyphText(int index, bool fullWidth) {
    static constexpr std::array<const wchar_t*, GlyphCount> Texts{L"0", L"1", L"2", L"3", L"4", L"5",
                                                                  L"6", L"7", L"8", L"9", L":", L"."};
    std::wstring text = Texts[static_cast<size_t>(index)];
    if (fullWidth) {
        wchar_t wide[8] = {};
        const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_FULLWIDTH, text.c_str(), -1, wide, 8);
        if (length > 1) {
            text.assign(wide, static_cast<size_t>(length - 1));
        }
    }
    return text;
}

// A white canvas of 32-bit pixels that GDI draws black text on.
struct TextCanvas {
    DibSection Dib;
    MemoryDC Dc;

    TextCanvas(int width, int height) : Dib(width, height) {
        if (Dib.Bits() != nullptr) {
            std::fill(Dib.Bits(), Dib.Bits() + static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFu);
        }
    }
    bool IsGlyph(int x, int y) const {
        const uint32_t p =
            Dib.Bits()[static_cast<size_t>(y) * static_cast<size_t>(Dib.Width()) + static_cast<size_t>(x)];
        return ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 128;
    }
};

constexpr UINT GlyphDrawFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;

RawDigits RasteriseFont(const DesignSettings& design, int screenHeight, int dpi) {
    const int points =
        design.DigitFontSize != 0 ? design.DigitFontSize : static_cast<int>(std::lround(screenHeight / 15.0));
    const bool bold = (design.DigitFontStyle & 1) != 0;
    const bool italic = (design.DigitFontStyle & 2) != 0;
    // Non-antialiased text gives clean two-colour glyphs without touching the system's own
    // font smoothing setting.
    UniqueFont font(CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                                design.DigitFontFullWidth ? SHIFTJIS_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                design.DigitFontName.c_str()));
    if (!font) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    std::array<std::wstring, GlyphCount> texts;
    for (int i = 0; i < GlyphCount; ++i) {
        texts[static_cast<size_t>(i)] = GlyphText(i, design.DigitFontFullWidth);
    }

    // Measure: every glyph centred in one box; the union of their pixels is the cell.
    TEXTMETRICW metrics{};
    {
        MemoryDC probe;
        SelectedObject selected(probe.Get(), font.Get());
        GetTextMetricsW(probe.Get(), &metrics);
    }
    const int boxWidth = std::max(2, 2 * static_cast<int>(metrics.tmMaxCharWidth));
    const int boxHeight = std::max(2, 2 * static_cast<int>(metrics.tmHeight));
    TextCanvas measure(boxWidth, boxHeight);
    if (measure.Dib.Bits() == nullptr) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    RECT box{0, 0, boxWidth, boxHeight};
    {
        SelectedObject bitmap(measure.Dc.Get(), measure.Dib.Get());
        SelectedObject selected(measure.Dc.Get(), font.Get());
        SetBkMode(measure.Dc.Get(), TRANSPARENT);
        SetTextColor(measure.Dc.Get(), RGB(0, 0, 0));
        for (const auto& text : texts) {
            RECT r = box;
            DrawTextW(measure.Dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, GlyphDrawFlags);
        }
        GdiFlush();
    }
    int left = boxWidth, top = boxHeight, right = -1, bottom = -1;
    for (int y = 0; y < boxHeight; ++y) {
        for (int x = 0; x < boxWidth; ++x) {
            if (measure.IsGlyph(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi); // the font drew nothing
    }
    const int cw = right - left + 1;
    const int ch = bottom - top + 1;

    TextCanvas strip(cw * GlyphCount, ch);
    if (strip.Dib.Bits() == nullptr) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    {
        SelectedObject bitmap(strip.Dc.Get(), strip.Dib.Get());
        SelectedObject selected(strip.Dc.Get(), font.Get());
        SetBkMode(strip.Dc.Get(), TRANSPARENT);
        SetTextColor(strip.Dc.Get(), RGB(0, 0, 0));
        for (int i = 0; i < GlyphCount; ++i) {
            RECT r = box;
            OffsetRect(&r, -left + i * cw, -top);
            const auto& text = texts[static_cast<size_t>(i)];
            DrawTextW(strip.Dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, GlyphDrawFlags);
        }
        GdiFlush();
    }
    RawDigits raw;
    raw.Mask = GlyphMask(cw * GlyphCount, ch);
    for (int y = 0; y < ch; ++y) {
        for (int x = 0; x < cw * GlyphCount; ++x) {
            raw.Mask.Set(x, y, strip.IsGlyph(x, y));
        }
    }
    raw.CellWidth = cw;
    raw.CellHeight = ch;
    raw.PointSize = points;
    raw.Italic = italic;
    return raw;
}

} // namespace

std::optional<PixelBuffer> LoadBitmapFile(const std::wstring& path, const BitmapLimits& limits) {
    std::string bytes;
    if (path.empty() || ReadWholeFile(path, MaxBitmapFileSize, bytes) != FileReadResult::Read) {
        return std::nullopt;
    }
    return DecodeBitmapFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, limits);
}

RawDigits LoadRawDigits(const DesignSettings& design, int screenHeight, int dpi) {
    switch (design.DigitType) {
    case DigitTypeFont:
        return RasteriseFont(design, screenHeight, dpi);
    case DigitTypeFile:
        return LoadGlyphFile(design, dpi);
    default:
        return LoadBuiltIn(BuiltInStripId(design.DigitStyle, design.DigitSize), dpi);
    }
}

} // namespace lumora
