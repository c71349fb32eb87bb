#include "clock/DigitSource.h"

#include "clock/FontDigits.h"
#include "clock/GlyphStrip.h"
#include "shell/FileIo.h"
#include "shell/GdiObjects.h"
#include "clock/TextMask.h"

#include <windows.h>

#include <array>

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
    if (const auto strip = LoadBitmapResource(id)) {
        return FromMask(SilhouetteOf(*strip, true), dpi);
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

// Black text, each centred in its own box.
void DrawCentred(TextMaskCanvas& canvas, HFONT font, const std::array<std::wstring, GlyphCount>& texts,
                 const std::array<CellBox, GlyphCount>& boxes) {
    for (size_t i = 0; i < texts.size(); ++i) {
        const RECT r{boxes[i].Left, boxes[i].Top, boxes[i].Left + boxes[i].Width, boxes[i].Top + boxes[i].Height};
        canvas.Draw(font, texts[i], r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
}

RawDigits RasteriseFont(const DesignSettings& design, int screenHeight, int dpi) {
    const int points = DigitFontPoints(design.DigitFontSize, screenHeight);
    const bool bold = (design.DigitFontStyle & 1) != 0;
    const bool italic = (design.DigitFontStyle & 2) != 0;
    // Non-antialiased text gives clean two-colour glyphs without touching the system's own
    // font smoothing setting.
    UniqueFont font(CreateFontW(-FontPixelHeight(points, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE,
                                FALSE, design.DigitFontFullWidth ? SHIFTJIS_CHARSET : DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                design.DigitFontName.c_str()));
    if (!font) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    std::array<std::wstring, GlyphCount> texts;
    for (int i = 0; i < GlyphCount; ++i) {
        texts[static_cast<size_t>(i)] = GlyphText(i, design.DigitFontFullWidth);
    }

    TEXTMETRICW metrics{};
    {
        MemoryDC probe;
        SelectedObject selected(probe.Get(), font.Get());
        GetTextMetricsW(probe.Get(), &metrics);
    }
    const CellBox box = MeasuringBox(metrics.tmMaxCharWidth, metrics.tmHeight);
    TextMaskCanvas measure(box.Width, box.Height);
    if (!measure.Valid()) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    // Every glyph centred in the one box: the union of their pixels is the cell they all share.
    std::array<CellBox, GlyphCount> boxes;
    boxes.fill(box);
    DrawCentred(measure, font.Get(), texts, boxes);
    const std::optional<CellBox> cell = SharedGlyphCell(measure.Mask());
    if (!cell) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi); // the font drew nothing
    }

    TextMaskCanvas strip(cell->Width * GlyphCount, cell->Height);
    if (!strip.Valid()) {
        return LoadBuiltIn(DefaultBuiltInStrip, dpi);
    }
    for (int i = 0; i < GlyphCount; ++i) {
        boxes[static_cast<size_t>(i)] = StripTextBox(box, *cell, i);
    }
    DrawCentred(strip, font.Get(), texts, boxes);
    RawDigits raw;
    raw.Mask = strip.Mask();
    raw.CellWidth = cell->Width;
    raw.CellHeight = cell->Height;
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

std::optional<PixelBuffer> LoadBitmapResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)); // RT_BITMAP
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return DecodeDib({bytes, SizeofResource(module, resource)});
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
