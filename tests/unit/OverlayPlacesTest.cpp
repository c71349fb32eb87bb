#include "overlays/OverlayPlaces.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

const ScreenRect FullHd{0, 0, 1920, 1080};
const ScreenRect Second{1920, 0, 3200, 1024};

TEST(OverlayPlaces, CallSignTextAndCorners) {
    OmakeSettings omake;
    omake.TestingWave = false;
    EXPECT_EQ(CallSignText(omake), L"テレビ\r\n\r\n-TV");
    omake.StationName = L"ルモラ放送";
    omake.CallSign = L"JOLM";
    EXPECT_EQ(CallSignText(omake), L"ルモラ放送\r\n\r\nJOLM-TV");
    omake.DigitalMaster = true;
    omake.TestingWave = true; // the test transmission outranks the name
    EXPECT_EQ(CallSignText(omake), L"試験電波発射中\r\n\r\nJOLM-DTV");

    EXPECT_EQ(OverlayFontHeight(1079), 53);
    EXPECT_EQ(CallSignPlace(FullHd, 300, 100, 0), (ScreenPoint{48, 932}));
    EXPECT_EQ(CallSignPlace(Second, 300, 100, 2), (ScreenPoint{3200 - 348, 1024 - 148}));
    EXPECT_EQ(LogoPlace(FullHd, 320, 240, 0), (ScreenPoint{5, 5}));
    EXPECT_EQ(LogoPlace(Second, 320, 240, 1), (ScreenPoint{3200 - 325, 5}));
}

// Each pixel's colour names its place (and is clear), so a squeezed picture shows what it sampled.
PixelBuffer Numbered(int width, int height) {
    PixelBuffer image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.At(x, y) = ToPixel(Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7), 0);
        }
    }
    return image;
}

TEST(OverlayPlaces, LogoPictures) {
    const LogoPicture wide = MakeLogoPicture(Numbered(640, 100), false);
    ASSERT_EQ(wide.Image.Width, 320);
    ASSERT_EQ(wide.Image.Height, 100);
    EXPECT_EQ(wide.Image.At(127, 50), ToPixel(Rgb(254, 50, 7))); // every other column, opaque
    EXPECT_EQ(wide.Key, Rgb(0, 99, 7));                          // the bottom-left pixel
    const LogoPicture tall = MakeLogoPicture(Numbered(100, 480), false);
    ASSERT_EQ(tall.Image.Width, 100);
    ASSERT_EQ(tall.Image.Height, 240);
    EXPECT_EQ(tall.Image.At(3, 60), ToPixel(Rgb(3, 120, 7)));
    EXPECT_TRUE(MakeLogoPicture(PixelBuffer(0, 5), false).Image.Empty());

    PixelBuffer mono(1, 2, ToPixel(Rgb(255, 255, 255)));
    mono.At(0, 1) = ToPixel(Rgb(255, 255, 254)); // not quite white, and bottom-left
    const LogoPicture silhouette = MakeLogoPicture(mono, true);
    EXPECT_EQ(silhouette.Key, Rgb(255, 255, 255));
    EXPECT_EQ(silhouette.Image.At(0, 0), ToPixel(Rgb(255, 255, 255)));
    EXPECT_EQ(silhouette.Image.At(0, 1), ToPixel(Rgb(208, 208, 208)));
}

TEST(OverlayPlaces, OmakeKeepsClearOfTheClock) {
    // A clock in the right half: the window at the top left, as wide as the room left of the clock.
    const ScreenRect right{1500, 900, 1800, 1000};
    EXPECT_EQ(OmakeTextWidth(FullHd, right), 1500 - 32);
    EXPECT_EQ(OmakePlace(FullHd, right, 1468), (ScreenPoint{16, 16}));
    EXPECT_EQ(OmakePlace(Second, {2000, 10, 2100, 50}, 500), (ScreenPoint{3200 - 516, 16}));

    // Across the centre, or starting on it: the window ends short of the clock.
    for (const ScreenRect& clock :
         {ScreenRect{800, 500, 1200, 600}, ScreenRect{959, 0, 1500, 80}, ScreenRect{960, 0, 1100, 80}}) {
        const int width = OmakeTextWidth(FullHd, clock);
        const ScreenPoint at = OmakePlace(FullHd, clock, width);
        EXPECT_TRUE(at.X >= clock.Right || at.X + width <= clock.Left) << clock.Left << " " << at.X;
    }
    EXPECT_EQ(OmakeTextWidth(FullHd, {800, 500, 1200, 600}), 1920 - 1200 - 32);

    // A clock on another monitor, or reaching out of this one, leaves the whole width.
    EXPECT_EQ(OmakeTextWidth(FullHd, {2000, 0, 2300, 100}), 1920 - 32);
    EXPECT_EQ(OmakeTextWidth(FullHd, {1800, 0, 2100, 100}), 1920 - 32);
    EXPECT_EQ(OmakeTextWidth(FullHd, {0, 0, 1920, 100}), 1); // no room at all

    EXPECT_EQ(OmakeTextHeight(600, FullHd), 540);
    EXPECT_EQ(OmakeTextHeight(300, FullHd), 300);
}

} // namespace
} // namespace lumora
