#include "overlays/TestPatternLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace lumora {
namespace {

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r | g << 8 | b << 16);
}

Colour At(const PixelBuffer& image, int x, int y) {
    return ToColour(image.At(x, y));
}

PixelBuffer Bars(int width, int height) {
    PixelBuffer image(width, height);
    DrawColourBars(image);
    return image;
}

TEST(TestPatternLayout, WideBarsOnAFullHdMonitor) {
    // C = 213 with 3 left over, Rh = 90: bands of 630, 90, 90 and 270 rows.
    const PixelBuffer image = Bars(1920, 1080);
    EXPECT_EQ(At(image, 0, 629), Rgb(128, 128, 128));
    EXPECT_EQ(At(image, 1703, 0), Rgb(0, 0, 255));     // the blue column ends where the last begins
    EXPECT_EQ(At(image, 1704, 0), Rgb(128, 128, 128)); // the last column is 216 wide
    EXPECT_EQ(At(image, 0, 630), Rgb(0, 255, 255));
    EXPECT_EQ(At(image, 213, 630), Rgb(128, 0, 0));
    EXPECT_EQ(At(image, 1703, 630), Rgb(192, 192, 192));
    EXPECT_EQ(At(image, 1919, 719), Rgb(0, 0, 255));
    EXPECT_EQ(At(image, 0, 720), Rgb(255, 255, 0));
    EXPECT_EQ(At(image, 426, 720), Rgb(0, 0, 0));        // the ramp starts black
    EXPECT_EQ(At(image, 1490, 720), Rgb(255, 255, 255)); // and ends white
    EXPECT_EQ(At(image, 958, 720), Rgb(127, 127, 127));  // half way: (532 * 255) / 1064
    EXPECT_EQ(At(image, 1919, 809), Rgb(255, 0, 0));
    // The bottom band, W = 106 (213 / 2 = 106.5 goes to the even 106).
    EXPECT_EQ(At(image, 212, 810), Rgb(128, 128, 128));
    EXPECT_EQ(At(image, 213, 810), Rgb(0, 0, 0));
    EXPECT_EQ(At(image, 531, 1079), Rgb(0, 0, 0));       // the black block ends at 2C + W ...
    EXPECT_EQ(At(image, 532, 1079), Rgb(255, 255, 255)); // ... where the white one from 3C - W - 1 begins
    EXPECT_EQ(At(image, 958, 1079), Rgb(255, 255, 255));
    EXPECT_EQ(At(image, 959, 1079), Rgb(0, 0, 0));
    EXPECT_EQ(At(image, 1703, 1079), Rgb(0, 0, 0));
    EXPECT_EQ(At(image, 1704, 1079), Rgb(128, 128, 128));
}

TEST(TestPatternLayout, StandardBarsOnAFourByThreeMonitor) {
    // C = 182 with 6 left over, Rh = 93: the bottom band is 3 x 93 + 1 rows; its blocks are
    // C + 46 wide (182 / 4 = 45.5 goes to the even 46).
    const PixelBuffer image = Bars(1280, 1024);
    EXPECT_EQ(At(image, 0, 0), Rgb(192, 192, 192));
    EXPECT_EQ(At(image, 1091, 650), Rgb(255, 0, 0));
    EXPECT_EQ(At(image, 1092, 650), Rgb(0, 0, 255));
    EXPECT_EQ(At(image, 0, 651), Rgb(0, 0, 255));
    EXPECT_EQ(At(image, 1279, 743), Rgb(255, 255, 255));
    EXPECT_EQ(At(image, 0, 744), Rgb(0, 0, 128));
    EXPECT_EQ(At(image, 227, 1023), Rgb(0, 0, 128));
    EXPECT_EQ(At(image, 228, 1023), Rgb(255, 255, 255));
    EXPECT_EQ(At(image, 456, 1023), Rgb(128, 0, 128));
    EXPECT_EQ(At(image, 684, 1023), Rgb(0, 0, 0));
    EXPECT_EQ(At(image, 1279, 1023), Rgb(0, 0, 0));
}

TEST(TestPatternLayout, LayoutChoiceAndOddSizes) {
    EXPECT_TRUE(WideTestPattern(1700, 1000)); // exactly 1.7
    EXPECT_FALSE(WideTestPattern(1699, 1000));
    EXPECT_FALSE(WideTestPattern(0, 1000));
    // Every pixel is painted, however small or narrow the window.
    for (const auto& [width, height] : {std::pair{5, 3}, {1, 1}, {3000, 10}, {7, 400}}) {
        PixelBuffer image(width, height, 0);
        DrawColourBars(image);
        EXPECT_EQ(std::count(image.Pixels.begin(), image.Pixels.end(), Pixel{0}), 0) << width << "x" << height;
    }
}

TEST(TestPatternLayout, CaptionsTextsAndPlaces) {
    OmakeSettings omake;
    EXPECT_EQ(StationBlock(omake), L"テレビ\r\n\r\n-TV");
    EXPECT_EQ(ChannelBlock(omake), L"2チャンネル\r\n\r\n親局: 本社");
    omake.StationName = L"ルモラ放送";
    omake.CallSign = L"JOLM";
    omake.DigitalMaster = true;
    omake.Channel = 12;
    omake.ParentBureauName = L"東京";
    EXPECT_EQ(StationBlock(omake), L"ルモラ放送\r\n\r\nJOLM-DTV");
    EXPECT_EQ(ChannelBlock(omake), L"12チャンネル\r\n\r\n親局: 東京");
    EXPECT_EQ(BannerText(1, 1), L"試験電波発射中");
    EXPECT_EQ(BannerText(2, 2), L"試験電波発射中\r\n第2テレビ");
    EXPECT_EQ(BannerLook(1080, 1080), (CaptionLook{135, 6}));
    EXPECT_EQ(BlockLook(1080), (CaptionLook{54, 3}));
    EXPECT_EQ(BannerTop(1080, 140, 6), 360 - 70 - 6);
    EXPECT_EQ(StationBlockPlace(1920, 1080, 150), (CaptionPlace{192, 1080 - 150 - 108}));
    EXPECT_EQ(ChannelBlockPlace(1920, 1080, 300, 150), (CaptionPlace{1920 - 300 - 192, 1080 - 150 - 108}));
}

} // namespace
} // namespace lumora
