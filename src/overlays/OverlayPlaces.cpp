#include "overlays/OverlayPlaces.h"

#include <algorithm>
#include <cstdint>

namespace lumora {
namespace {

constexpr int CallSignMargin = 48;
constexpr int LogoMargin = 5;
constexpr int OmakeMargin = 16;
constexpr int OmakeTextRoom = 2 * OmakeMargin; // the window's margin on both sides of the text

constexpr Colour White = Rgb(255, 255, 255);
constexpr Colour LightGrey = Rgb(208, 208, 208);

bool WhollyInside(const ScreenRect& inner, const ScreenRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

} // namespace

std::wstring CallSignText(const OmakeSettings& omake) {
    std::wstring text;
    if (omake.TestingWave) {
        text = L"試験電波発射中";
    } else {
        text = omake.StationName.empty() ? L"テレビ" : omake.StationName;
    }
    text += L"\r\n\r\n";
    text += omake.CallSign;
    text += omake.DigitalMaster ? L"-DTV" : L"-TV";
    return text;
}

int OverlayFontHeight(int primaryDisplayHeight) {
    return primaryDisplayHeight / 20;
}

ScreenPoint CallSignPlace(const ScreenRect& monitor, int width, int height, int alignment) {
    const int left = alignment != 0 ? monitor.Right - width - CallSignMargin : monitor.Left + CallSignMargin;
    return {left, monitor.Bottom - height - CallSignMargin};
}

ScreenPoint LogoPlace(const ScreenRect& monitor, int width, int /*height*/, int alignment) {
    const int left = alignment != 0 ? monitor.Right - width - LogoMargin : monitor.Left + LogoMargin;
    return {left, monitor.Top + LogoMargin};
}

LogoPicture MakeLogoPicture(const PixelBuffer& decoded, bool monochrome) {
    LogoPicture logo;
    if (decoded.Empty()) {
        return logo;
    }
    const int width = std::min(decoded.Width, LogoMaxWidth);
    const int height = std::min(decoded.Height, LogoMaxHeight);
    logo.Image = PixelBuffer(width, height);
    for (int y = 0; y < height; ++y) {
        const int sourceY = static_cast<int>(int64_t{y} * decoded.Height / height);
        for (int x = 0; x < width; ++x) {
            const int sourceX = static_cast<int>(int64_t{x} * decoded.Width / width);
            Colour colour = ToColour(decoded.At(sourceX, sourceY));
            if (monochrome && colour != White) {
                colour = LightGrey;
            }
            logo.Image.At(x, y) = ToPixel(colour);
        }
    }
    logo.Key = monochrome ? White : ToColour(logo.Image.At(0, height - 1));
    return logo;
}

bool OmakeOnRight(const ScreenRect& monitor, const ScreenRect& clock) {
    return clock.Left < monitor.Left + (monitor.Right - monitor.Left) / 2;
}

int OmakeTextWidth(const ScreenRect& monitor, const ScreenRect& clock) {
    int width = monitor.Right - monitor.Left - OmakeTextRoom;
    if (WhollyInside(clock, monitor)) {
        width = OmakeOnRight(monitor, clock) ? monitor.Right - clock.Right - OmakeTextRoom
                                             : clock.Left - monitor.Left - OmakeTextRoom;
    }
    return std::max(width, 1);
}

int OmakeTextHeight(int measuredHeight, const ScreenRect& monitor) {
    return std::max(std::min(measuredHeight, (monitor.Bottom - monitor.Top) / 2), 0);
}

ScreenPoint OmakePlace(const ScreenRect& monitor, const ScreenRect& clock, int windowWidth) {
    const int left =
        OmakeOnRight(monitor, clock) ? monitor.Right - windowWidth - OmakeMargin : monitor.Left + OmakeMargin;
    return {left, monitor.Top + OmakeMargin};
}

} // namespace lumora
