#include "options/FilePicks.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace lumora {
namespace {

using namespace std::string_view_literals;

TEST(FilePicks, ChosenFilesFromTheDialogsBuffer) {
    using Files = std::vector<std::wstring>;
    EXPECT_EQ(ChosenFiles(L"C:\\snd\\a.wav\0\0"sv), Files{L"C:\\snd\\a.wav"});
    EXPECT_EQ(ChosenFiles(L"C:\\snd\0b.wav\0a.wav\0\0"sv), (Files{L"C:\\snd\\b.wav", L"C:\\snd\\a.wav"}));
    EXPECT_EQ(ChosenFiles(L"C:\\\0a.wav\0b.wav\0\0"sv), (Files{L"C:\\a.wav", L"C:\\b.wav"}));
    EXPECT_TRUE(ChosenFiles(L"\0\0"sv).empty());
}

TEST(FilePicks, SeveralHoursTakeTheChosenFilesInListOrder) {
    std::array<std::wstring, 24> hours;
    hours[5] = L"owl.wav";
    const std::array<int, 3> rows{3, 4, 5};
    const std::array<std::wstring, 2> two{L"a.wav", L"b.wav"};
    AssignChosenFiles(rows, two, hours);
    EXPECT_EQ(hours[3], L"a.wav");
    EXPECT_EQ(hours[4], L"b.wav");
    EXPECT_EQ(hours[5], L"owl.wav"); // no file left for it

    const std::array<std::wstring, 1> one{L"c.wav"};
    AssignChosenFiles(rows, one, hours);
    EXPECT_EQ(hours[3] + hours[4] + hours[5], L"c.wavc.wavc.wav");
}

TEST(FilePicks, SoundDialogPlaysOnlyLaterSelectionsAndKeepsTheButtonOfAPlayingPreview) {
    SoundDialogPreview preview;
    preview.Opened();
    auto first = preview.SelectionChanged(true, true);
    EXPECT_FALSE(first.Play);
    EXPECT_TRUE(first.SetEnabled && first.Enabled);
    EXPECT_TRUE(preview.SelectionChanged(true, true).Play);
    preview.AutoPlayStarted();
    // While it plays the button reads "stop" and stays as it is, even for a missing file.
    auto missing = preview.SelectionChanged(false, true);
    EXPECT_FALSE(missing.Play || missing.SetEnabled);
    EXPECT_FALSE(preview.PlaybackEnded(false));
    EXPECT_FALSE(preview.SelectionChanged(true, false).Play); // the box is off
    auto enabled = preview.SelectionChanged(true, false);
    EXPECT_TRUE(enabled.SetEnabled && enabled.Enabled);
}

} // namespace
} // namespace lumora
