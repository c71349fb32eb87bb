#include "clock/FaceComposer.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr Pixel RgbMask = 0x00FFFFFF;
constexpr int PictureCentred = 0;
constexpr int PictureTiled = 1;

void FillRect(PixelBuffer& image, const Rect& rect, Pixel colour) {
    const int x0 = std::max(rect.X, 0);
    const int y0 = std::max(rect.Y, 0);
    const int x1 = std::min(rect.X + rect.Width, image.Width);
    const int y1 = std::min(rect.Y + rect.Height, image.Height);
    for (int y = y0; y < y1; ++y) {
        std::fill_n(&image.At(x0, y), std::max(x1 - x0, 0), colour);
    }
}

// Copies a 24-bit picture: its alpha byte does not survive, as when GDI copies one into a DIB.
void CopyPicture(PixelBuffer& image, const PixelBuffer& picture, int left, int top) {
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + picture.Width, image.Width);
    const int y1 = std::min(top + picture.Height, image.Height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            image.At(x, y) = picture.At(x - left, y - top) & RgbMask;
        }
    }
}

// Resampling taps along one axis: area average when shrinking, linear when enlarging, so a
// stretched picture looks as smooth as GDI's halftone stretch.
struct Tap {
    int Index;
    float Weight;
};

std::vector<std::vector<Tap>> AxisTaps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
    const double scale = static_cast<double>(from) / to;
    for (int d = 0; d < to; ++d) {
        auto& list = taps[static_cast<size_t>(d)];
        if (from > to) {
            const double start = d * scale;
            const double end = (d + 1) * scale;
            for (int s = static_cast<int>(start); s < from && s < end; ++s) {
                const double cover = std::min<double>(s + 1, end) - std::max<double>(s, start);
                if (cover > 0) {
                    list.push_back({s, static_cast<float>(cover / scale)});
                }
            }
        } else {
            const double pos = std::clamp((d + 0.5) * scale - 0.5, 0.0, static_cast<double>(from - 1));
            const int i0 = static_cast<int>(pos);
            const int i1 = std::min(i0 + 1, from - 1);
            const float f = static_cast<float>(pos - i0);
            list.push_back({i0, 1.0f - f});
            if (f > 0) {
                list.push_back({i1, f});
            }
        }
    }
    return taps;
}

void StretchPicture(PixelBuffer& image, const PixelBuffer& picture) {
    const auto across = AxisTaps(picture.Width, image.Width);
    const auto down = AxisTaps(picture.Height, image.Height);
    // Horizontal pass into floats, three channels per pixel.
    std::vector<float> rows(static_cast<size_t>(picture.Height) * static_cast<size_t>(image.Width) * 3);
    for (int y = 0; y < picture.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            float sum[3] = {0, 0, 0};
            for (const Tap& t : across[static_cast<size_t>(x)]) {
                const Pixel p = picture.At(t.Index, y);
                sum[0] += t.Weight * static_cast<float>((p >> 16) & 0xFF);
                sum[1] += t.Weight * static_cast<float>((p >> 8) & 0xFF);
                sum[2] += t.Weight * static_cast<float>(p & 0xFF);
            }
            std::copy(sum, sum + 3, &rows[(static_cast<size_t>(y) * static_cast<size_t>(image.Width) + x) * 3]);
        }
    }
    auto channel = [](float v) { return static_cast<Pixel>(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            float sum[3] = {0, 0, 0};
            for (const Tap& t : down[static_cast<size_t>(y)]) {
                const float* p = &rows[(static_cast<size_t>(t.Index) * static_cast<size_t>(image.Width) + x) * 3];
                for (int c = 0; c < 3; ++c) {
                    sum[c] += t.Weight * p[c];
                }
            }
            image.At(x, y) = (channel(sum[0]) << 16) | (channel(sum[1]) << 8) | channel(sum[2]);
        }
    }
}

void DrawPicture(PixelBuffer& image, const DesignSettings& d, const FaceColours& colours, const PixelBuffer& picture) {
    if (d.BackGroundStyle == PictureTiled) {
        for (int y = 0; y < image.Height; y += picture.Height) {
            for (int x = 0; x < image.Width; x += picture.Width) {
                CopyPicture(image, picture, x, y);
            }
        }
    } else if (d.BackGroundStyle == PictureCentred) {
        FillRect(image, {0, 0, image.Width, image.Height}, ToPixel(colours.Fill, 0));
        CopyPicture(image, picture, (image.Width - picture.Width) / 2, (image.Height - picture.Height) / 2);
    } else {
        StretchPicture(image, picture);
    }
}

uint32_t Channel(Pixel p, int shift) {
    return (p >> shift) & 0xFF;
}

} // namespace

FaceExtent FaceSize(int widthInCells, const GlyphStrip& strip, const std::array<int32_t, 4>& margins) {
    int w = widthInCells * (strip.CellWidth + strip.Spacing) + margins[0] + margins[2] - strip.Spacing;
    int h = margins[1] + margins[3] + strip.CellHeight;
    return {w > 0 ? w : 1, h > 0 ? h : 1};
}

Rect CellRect(int k, const GlyphStrip& strip, const std::array<int32_t, 4>& margins) {
    return {margins[0] + (k - 1) * (strip.CellWidth + strip.Spacing), margins[1], strip.CellWidth, strip.CellHeight};
}

void FillGradient(PixelBuffer& image, const Rect& rect, Colour start, Colour end, bool vertical, uint8_t alpha) {
    if ((start & RgbMask) == (end & RgbMask)) {
        FillRect(image, rect, ToPixel(start, alpha));
        return;
    }
    const int lines = vertical ? rect.Height : rect.Width;
    for (int k = 0; k < lines; ++k) {
        int e = k;
        const int d = lines - 1 - k;
        if (d + e <= 0) {
            e = 1;
        }
        auto mix = [&](int shift) {
            const int from = static_cast<int>((start >> shift) & 0xFF);
            const int to = static_cast<int>((end >> shift) & 0xFF);
            return static_cast<Colour>((e * to + d * from) / (d + e)) << shift;
        };
        const Pixel colour = ToPixel(mix(0) | mix(8) | mix(16), alpha);
        const Rect line = vertical ? Rect{rect.X, rect.Y + k, rect.Width, 1} : Rect{rect.X + k, rect.Y, 1, rect.Height};
        FillRect(image, line, colour);
    }
}

Pixel CanvasBrush(const DesignSettings& d, bool layered, int colourDepth, Colour clockKey) {
    // Black has alpha 0 in the layered image, so a transparent face needs no colour key there.
    if (d.BackGroundType == BackGroundTransparent && layered && colourDepth > 15) {
        return 0;
    }
    return ToPixel(clockKey, 0);
}

PixelBuffer BuildBackground(int width, int height, const DesignSettings& d, const FaceColours& colours,
                            const PixelBuffer* picture, bool layered, Pixel canvasBrush) {
    PixelBuffer image(std::max(width, 0), std::max(height, 0), 0);
    if (d.BackGroundType == BackGroundPicture) {
        if (picture && !picture->Empty()) {
            DrawPicture(image, d, colours, *picture);
        }
    } else if (d.BackGroundType == BackGroundGradient) {
        FillGradient(image, {0, 0, image.Width, image.Height}, colours.Gradation1, colours.Gradation2,
                     d.GradationStyle);
    } else {
        std::fill(image.Pixels.begin(), image.Pixels.end(), canvasBrush);
    }
    if (d.BackGroundType != BackGroundTransparent && layered) {
        for (Pixel& p : image.Pixels) {
            p |= 0xFF000000u;
        }
    }
    return image;
}

void CopyBackground(const PixelBuffer& background, PixelBuffer& image, const DesignSettings& d, bool layered,
                    int colourDepth) {
    if (d.BackGroundType != BackGroundTransparent && layered && colourDepth > 15) {
        image = PixelBuffer(background.Width, background.Height, 0);
        for (size_t i = 0; i < image.Pixels.size(); ++i) {
            image.Pixels[i] = BlendOver(0, background.Pixels[i], d.BackGroundAlpha);
        }
        return;
    }
    image = background;
}

CellMode CellModeFor(const GlyphStrip& strip, bool layered) {
    if (strip.Untouched) {
        return CellMode::Copy;
    }
    return layered ? CellMode::AlphaBlend : CellMode::MaskAndPaint;
}

Pixel BlendOver(Pixel destination, Pixel source, int constantAlpha) {
    const uint32_t ca = static_cast<uint32_t>(std::clamp(constantAlpha, 0, 255));
    const uint32_t sa = (Channel(source, 24) * ca + 127) / 255;
    Pixel out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t s = (Channel(source, shift) * ca + 127) / 255;
        const uint32_t v = s + (Channel(destination, shift) * (255 - sa) + 127) / 255;
        out |= std::min<uint32_t>(v, 255) << shift;
    }
    return out;
}

void DrawCell(PixelBuffer& image, const GlyphStrip& strip, int glyphIndex, const Rect& destination, const Rect& source,
              int constantAlpha, CellMode mode) {
    if (glyphIndex < 0 || glyphIndex >= GlyphCount || destination.Width <= 0 || destination.Height <= 0 ||
        source.Width <= 0 || source.Height <= 0) {
        return;
    }
    const Rect from{glyphIndex * strip.CellWidth + source.X, source.Y, source.Width, source.Height};
    const bool masked = mode == CellMode::MaskAndPaint && strip.Mask.Width == strip.Strip.Width &&
                        strip.Mask.Height == strip.Strip.Height;
    const int x0 = std::max(destination.X, 0);
    const int y0 = std::max(destination.Y, 0);
    const int x1 = std::min(destination.X + destination.Width, image.Width);
    const int y1 = std::min(destination.Y + destination.Height, image.Height);
    // Nearest source pixel to each destination pixel's centre, as StretchBlt with COLORONCOLOR;
    // the columns are worked out once, not per row.
    auto sourceOf = [](int d, int dstSize, int srcSize) {
        return static_cast<int>((2LL * d + 1) * srcSize / (2LL * dstSize));
    };
    std::vector<int> columns;
    columns.reserve(static_cast<size_t>(std::max(x1 - x0, 0)));
    for (int x = x0; x < x1; ++x) {
        columns.push_back(from.X + sourceOf(x - destination.X, destination.Width, from.Width));
    }
    const int alpha = std::clamp(constantAlpha, 0, 255);
    for (int y = y0; y < y1; ++y) {
        const int sy = from.Y + sourceOf(y - destination.Y, destination.Height, from.Height);
        if (sy < 0 || sy >= strip.Strip.Height) {
            continue;
        }
        Pixel* out = &image.At(x0, y);
        for (size_t i = 0; i < columns.size(); ++i) {
            const int sx = columns[i];
            if (sx < 0 || sx >= strip.Strip.Width) {
                continue;
            }
            const Pixel s = strip.Strip.At(sx, sy);
            Pixel& d = out[i];
            switch (mode) {
            case CellMode::Copy:
                d = s;
                break;
            case CellMode::AlphaBlend:
                // Most strip pixels are fully opaque or fully clear.
                if (alpha == 255 && AlphaOf(s) == 255) {
                    d = s;
                } else if (s != 0) {
                    d = BlendOver(d, s, alpha);
                }
                break;
            case CellMode::MaskAndPaint:
                d = ((masked && strip.Mask.At(sx, sy)) ? d : 0) | s;
                break;
            }
        }
    }
}

std::vector<RegionRun> RegionRuns(const PixelBuffer& image, Pixel key) {
    std::vector<RegionRun> runs;
    for (int y = 0; y < image.Height; ++y) {
        int x = 0;
        while (x < image.Width) {
            while (x < image.Width && ((image.At(x, y) ^ key) & RgbMask) == 0) {
                ++x;
            }
            const int start = x;
            while (x < image.Width && ((image.At(x, y) ^ key) & RgbMask) != 0) {
                ++x;
            }
            if (x > start) {
                runs.push_back({y, start, x});
            }
        }
    }
    return runs;
}

} // namespace lumora
