#include "menu/MenuModel.h"
#include "shell/DpiScale.h"
#include "tools/CalendarModel.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(DpiScale, SizesRoundAsTheSystemDoesAndAMissingDpiCountsAs96) {
    struct Case {
        int Pixels, Dpi, Expected;
    };
    for (const Case& c : {Case{379, 144, 569},
                          {256, 144, 384},
                          {3, 144, 5},
                          {1, 144, 2},
                          {7, 144, 11},
                          {16, 120, 20},
                          {16, 144, 24},
                          {16, 192, 32},
                          {26, 144, 39},
                          {-14, 144, -21},
                          {100, 96, 100},
                          {100, 0, 100},
                          {100, -5, 100}}) {
        EXPECT_EQ(ScaleToDpi(c.Pixels, c.Dpi), c.Expected) << c.Pixels << " at " << c.Dpi;
    }
    EXPECT_EQ(ScaleBetweenDpi(30, 96, 144), 20);
    EXPECT_EQ(ScaleBetweenDpi(21, 192, 144), 28);
    EXPECT_EQ(ScaleBetweenDpi(-21, 96, 144), -14);
    EXPECT_EQ(ScaleBetweenDpi(5, 144, 0), 8);
}

TEST(DpiScale, AWindowTheSystemMadeAtTheWantedDpiIsNotScaledAgain) {
    // An options page made after the dialog moved from 96 to 144 DPI: Windows made it at 144.
    EXPECT_EQ(StepToDpi(144, 144), std::nullopt);
    // Wine makes every window at the screen's one DPI.
    EXPECT_EQ(StepToDpi(96, 144), (DpiStep{96, 144}));
    EXPECT_EQ(StepToDpi(144, 96), (DpiStep{144, 96}));
    EXPECT_EQ(StepToDpi(0, 96), std::nullopt);
}

TEST(MenuAtDpi, TheImageColumnAndTheGapsGrowWithTheMonitor) {
    // Image, gutter, text gap, separator, text and image padding, check inset, tick stroke.
    EXPECT_EQ(MenuMetricsAt(96), (MenuMetrics{16, 26, 8, 7, 8, 6, 2, 1}));
    EXPECT_EQ(MenuMetricsAt(0), MenuMetricsAt(96));
    EXPECT_EQ(MenuMetricsAt(120), (MenuMetrics{20, 33, 10, 9, 10, 8, 3, 1}));
    EXPECT_EQ(MenuMetricsAt(144), (MenuMetrics{24, 39, 12, 11, 12, 9, 3, 2}));
    EXPECT_EQ(MenuMetricsAt(192), (MenuMetrics{32, 52, 16, 14, 16, 12, 4, 2}));
    EXPECT_EQ(MenuMetricsAt(240).CheckStroke, 3);
    EXPECT_EQ(MenuImageSizeAt(144), 24);
}

TEST(MenuAtDpi, ImagesRepeatPixelsAtWholeMultiplesAndBlendTheEdgesAt150Percent) {
    // Premultiplied: a clear pixel is all zero.
    constexpr Pixel A = 0xFF102030, B = 0xFF305070, C = 0xFF507090, Clear = 0;
    PixelBuffer image(2, 2);
    image.Pixels = {A, B, C, Clear};

    const PixelBuffer doubled = ScaleMenuImage(image, 4);
    EXPECT_EQ(doubled.Pixels, (std::vector<Pixel>{A, A, B, B, A, A, B, B, C, C, Clear, Clear, C, C, Clear, Clear}));
    EXPECT_EQ(ScaleMenuImage(image, 2), image);

    const PixelBuffer half = ScaleMenuImage(image, 3);
    ASSERT_EQ(half.Width, 3);
    ASSERT_EQ(half.Height, 3);
    EXPECT_EQ(half.At(0, 0), A);
    EXPECT_EQ(half.At(1, 0), 0xFF203850u); // half A, half B
    EXPECT_EQ(half.At(2, 0), B);
    EXPECT_EQ(half.At(2, 1), 0x80182838u); // half B over clear: half as opaque
    EXPECT_EQ(half.At(1, 1), 0xBF24384Cu); // a quarter of each
    EXPECT_EQ(half.At(2, 2), Clear);

    EXPECT_TRUE(ScaleMenuImage(image, 0).Empty());
    EXPECT_TRUE(ScaleMenuImage(PixelBuffer(), 24).Empty());
}

TEST(CalendarAtDpi, TheWindowItsPanelsButtonsAndFontsScaleWhileTheFramesStayOnePixel) {
    CalendarFormLayout at96;
    at96.ClientWidth = 379;
    at96.ClientHeight = 256;
    at96.CalendarPanel = {12, 12, 221, 205};
    at96.HimekuriPanel = {228, 12, 365, 205};
    at96.TitleRect = {13, 13, 220, 42};
    at96.GridRect = {13, 42, 220, 204};
    at96.PrevButton = {17, 17, 37, 37};
    at96.NextButton = {196, 17, 216, 37};
    at96.StripHeight = 40;
    at96.PageTextInset = 10;
    at96.LinkFontHeight = 12;
    at96.ArrowFontHeight = 14;
    at96.TitleFontHeight = 19;
    at96.LinkPadding = 6;
    at96.LinkLeft = 9;
    EXPECT_EQ(LayOutCalendarForm(96), at96);
    EXPECT_EQ(LayOutCalendarForm(0), at96);

    CalendarFormLayout at144;
    at144.ClientWidth = 569;
    at144.ClientHeight = 384;
    at144.CalendarPanel = {18, 18, 332, 308};
    at144.HimekuriPanel = {342, 18, 548, 308};
    at144.TitleRect = {19, 19, 331, 63};
    at144.GridRect = {19, 63, 331, 307};
    at144.PrevButton = {25, 26, 55, 56};
    at144.NextButton = {295, 26, 325, 56};
    at144.StripHeight = 60;
    at144.PageTextInset = 15;
    at144.LinkFontHeight = 18;
    at144.ArrowFontHeight = 21;
    at144.TitleFontHeight = 29;
    at144.LinkPadding = 9;
    at144.LinkLeft = 13;
    EXPECT_EQ(LayOutCalendarForm(144), at144);

    const CalendarFormLayout at192 = LayOutCalendarForm(192);
    EXPECT_EQ(at192.ClientWidth, 758);
    EXPECT_EQ(at192.ClientHeight, 512);
    EXPECT_EQ(at192.TitleRect, (ScreenRect{25, 25, 441, 83}));
    EXPECT_EQ(at192.GridRect, (ScreenRect{25, 83, 441, 409}));
    EXPECT_EQ(at192.PrevButton, (ScreenRect{33, 34, 73, 74}));
    EXPECT_EQ(at192.NextButton, (ScreenRect{393, 34, 433, 74}));
    EXPECT_EQ(at192.TitleFontHeight, 38);
    EXPECT_EQ(at192.LinkLeft, 18);
}

} // namespace
} // namespace lumora
