#include "clock/SystemRules.h"
#include "settings/Settings.h"
#include "shell/PathText.h"
#include "shell/TextFill.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(SystemRules, BiasOfTheSeasonInEffect) {
    // Central Europe: bias -60, summer time -60 more.
    EXPECT_EQ(TimeZoneBiasMinutes(-60, 0, -60, TimeZoneState::Daylight), -120);
    EXPECT_EQ(TimeZoneBiasMinutes(-60, 0, -60, TimeZoneState::Standard), -60);
    EXPECT_EQ(TimeZoneBiasMinutes(-540, 0, 0, TimeZoneState::Unknown), -540);
    EXPECT_EQ(TimeZoneBiasMinutes(300, 0, -60, TimeZoneState::Unknown), 300);
}

TEST(SystemRules, AutomaticFontSizeFollowsOnlyWhenBothSidesChange) {
    const ScreenSize was{1280, 800};
    EXPECT_TRUE(AutoSizedFaceFollows(DigitTypeFont, 0, was, {1920, 1080}));
    EXPECT_FALSE(AutoSizedFaceFollows(DigitTypeFont, 0, was, {1920, 800}));
    EXPECT_FALSE(AutoSizedFaceFollows(DigitTypeFont, 0, was, {1280, 1024}));
    EXPECT_FALSE(AutoSizedFaceFollows(DigitTypeFont, 36, was, {1920, 1080}));
    EXPECT_FALSE(AutoSizedFaceFollows(0, 0, was, {1920, 1080}));
}

TEST(SystemRules, PathsAndMessageTexts) {
    EXPECT_EQ(FileNameOf(L"C:\\Program Files\\Lumora\\Lumora.exe"), L"Lumora.exe");
    EXPECT_EQ(FolderOf(L"C:\\Program Files\\Lumora\\Lumora.exe"), L"C:\\Program Files\\Lumora\\");
    EXPECT_EQ(FileNameOf(L"C:track01.cda"), L"track01.cda");
    EXPECT_EQ(FolderOf(L"Lumora.exe"), L"");
    EXPECT_EQ(WithoutExtension(L"Lumora.v2.exe"), L"Lumora.v2");

    EXPECT_EQ(FillText(L"%s で問題が発生しました: %s", {L"Lumora", L"x"}), L"Lumora で問題が発生しました: x");
    EXPECT_EQ(FillText(L"%s と %s", {L"a"}), L"a と %s");
    EXPECT_EQ(FillText(L"100%", {L"a"}), L"100%");
}

} // namespace
} // namespace lumora
