#include "overlays/TestPatternLayout.h"

#include <algorithm>
#include <initializer_list>

namespace lumora {
namespace {

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r | g << 8 | b << 16);
}

constexpr Colour Grey = Rgb(128, 128, 128), Silver = Rgb(192, 192, 192), Yellow = Rgb(255, 255, 0),
                 Cyan = Rgb(0, 255, 255), Green = Rgb(0, 255, 0), Magenta = Rgb(255, 0, 255), Red = Rgb(255, 0, 0),
                 Blue = Rgb(0, 0, 255), Maroon = Rgb(128, 0, 0), Navy = Rgb(0, 0, 128), Purple = Rgb(128, 0, 128),
                 Black = Rgb(0, 0, 0), White = Rgb(255, 255, 255);

// numerator / denominator to the nearest integer, a half going to the even neighbour.
int RoundHalfEven(int numerator, int denominator) {
    const int quotient = numerator / denominator;
    const int twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) {
        return quotient + 1;
    }
    return quotient;
}

class Bars {
public:
    Bars(PixelBuffer& image, int columns, int rows)
        : image_(image), column_(image.Width / columns), rest_(image.Width % columns), row_(image.Height / rows) {}

    int Column() const { return column_; }
    int Row() const { return row_; }

    // x in [left, right), y in [top, bottom), clipped to the image.
    void Fill(int left, int right, int top, int bottom, Colour colour) {
        const Pixel pixel = ToPixel(colour);
        for (int y = std::max(top, 0); y < std::min(bottom, image_.Height); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, image_.Width); ++x) {
                image_.At(x, y) = pixel;
            }
        }
    }

    // A band of equal columns; the last one also takes what the division left over.
    void Band(int top, int height, std::initializer_list<Colour> colours) {
        int left = 0;
        size_t index = 0;
        for (Colour colour : colours) {
            const int width = ++index == colours.size() ? column_ + rest_ : column_;
            Fill(left, left + width, top, top + height, colour);
            left += width;
        }
    }

    // Black at the left edge to white at the right, one pixel column at a time.
    void Ramp(int left, int right, int top, int bottom) {
        for (int x = left; x < right; ++x) {
            int e = x - left;
            const int d = right - x - 1;
            if (d + e <= 0) {
                e = 1;
            }
            const int level = e * 255 / (d + e);
            Fill(x, x + 1, top, bottom, Rgb(level, level, level));
        }
    }

    int Right() const { return image_.Width; }
    int Bottom() const { return image_.Height; }

private:
    PixelBuffer& image_;
    int column_;
    int rest_;
    int row_;
};

void DrawWide(PixelBuffer& image) {
    Bars bars(image, 9, 12);
    const int c = bars.Column();
    const int r = bars.Row();
    bars.Band(0, 7 * r, {Grey, Silver, Yellow, Cyan, Green, Magenta, Red, Blue, Grey});
    bars.Fill(0, c, 7 * r, 8 * r, Cyan);
    bars.Fill(c, 2 * c, 7 * r, 8 * r, Maroon);
    bars.Fill(2 * c, 8 * c, 7 * r, 8 * r, Silver);
    bars.Fill(8 * c, bars.Right(), 7 * r, 8 * r, Blue);
    bars.Fill(0, c, 8 * r, 9 * r, Yellow);
    bars.Fill(c, 2 * c, 8 * r, 9 * r, Black);
    bars.Ramp(2 * c, 7 * c, 8 * r, 9 * r);
    bars.Fill(7 * c, 8 * c, 8 * r, 9 * r, White);
    bars.Fill(8 * c, bars.Right(), 8 * r, 9 * r, Red);
    // The bottom band: later blocks over earlier ones.
    const int w = RoundHalfEven(c, 2);
    const int top = 9 * r;
    const int bottom = bars.Bottom();
    bars.Fill(0, c, top, bottom, Grey);
    bars.Fill(c, 2 * c + w, top, bottom, Black);
    bars.Fill(8 * c, bars.Right(), top, bottom, Grey);
    bars.Fill(5 * c - w, 8 * c, top, bottom, Black);
    bars.Fill(3 * c - w - 1, 5 * c - w, top, bottom, White);
}

void DrawStandard(PixelBuffer& image) {
    Bars bars(image, 7, 11);
    const int c = bars.Column();
    const int r = bars.Row();
    bars.Band(0, 7 * r, {Silver, Yellow, Cyan, Green, Magenta, Red, Blue});
    bars.Band(7 * r, r, {Blue, Black, Magenta, Black, Cyan, Black, White});
    const int step = c + RoundHalfEven(c, 4);
    const int top = 8 * r;
    const int bottom = bars.Bottom();
    bars.Fill(0, step, top, bottom, Navy);
    bars.Fill(step, 2 * step, top, bottom, White);
    bars.Fill(2 * step, 3 * step, top, bottom, Purple);
    bars.Fill(3 * step, bars.Right(), top, bottom, Black);
}

} // namespace

bool WideTestPattern(int width, int height) {
    const double aspect = width < 1 || height < 1 ? 0.0 : static_cast<double>(width) / height;
    return aspect >= 1.7;
}

void DrawColourBars(PixelBuffer& image) {
    if (image.Empty()) {
        return;
    }
    if (WideTestPattern(image.Width, image.Height)) {
        DrawWide(image);
    } else {
        DrawStandard(image);
    }
}

std::wstring StationBlock(const OmakeSettings& omake) {
    std::wstring text = omake.StationName.empty() ? L"テレビ" : omake.StationName;
    text += L"\r\n\r\n";
    if (!omake.CallSign.empty()) {
        text += omake.CallSign;
    }
    return text + (omake.DigitalMaster ? L"-DTV" : L"-TV");
}

std::wstring ChannelBlock(const OmakeSettings& omake) {
    return std::to_wstring(omake.Channel) + L"チャンネル\r\n\r\n親局: " +
           (omake.ParentBureauName.empty() ? L"本社" : omake.ParentBureauName);
}

std::wstring BannerText(int monitorCount, int monitorNumber) {
    std::wstring text = L"試験電波発射中";
    if (monitorCount > 1) {
        text += L"\r\n第" + std::to_wstring(monitorNumber) + L"テレビ";
    }
    return text;
}

CaptionLook BannerLook(int clientHeight, int primaryDisplayHeight) {
    return {clientHeight / 8, primaryDisplayHeight / 200 + 1};
}

CaptionLook BlockLook(int clientHeight) {
    const int height = clientHeight / 20;
    return {height, height / 20 + 1};
}

int BannerTop(int clientHeight, int textHeight, int rim) {
    return clientHeight / 3 - textHeight / 2 - rim;
}

CaptionPlace StationBlockPlace(int clientWidth, int clientHeight, int textHeight) {
    return {clientWidth / 10, clientHeight - textHeight - clientHeight / 10};
}

CaptionPlace ChannelBlockPlace(int clientWidth, int clientHeight, int textWidth, int textHeight) {
    return {clientWidth - textWidth - clientWidth / 10, clientHeight - textHeight - clientHeight / 10};
}

} // namespace lumora
