#include "sound/SoundErrors.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(SoundErrors, FailureTable) {
    struct Row {
        bool fileExists;
        uint32_t code;
        bool anyDevice;
        SoundMessage expected;
    };
    const Row rows[] = {
        {false, 4, true, SoundMessage::FileMissing},
        {false, 296, false, SoundMessage::FileMissing},
        {false, 0, true, SoundMessage::FileMissing},
        {true, 4, true, SoundMessage::DeviceBusy},
        {true, 33, true, SoundMessage::DeviceBusy},
        {true, 65, true, SoundMessage::DeviceBusy},
        {true, 320, true, SoundMessage::DeviceBusy},
        {true, 337, true, SoundMessage::DeviceBusy},
        {true, 6, true, SoundMessage::NoDevice},
        {true, 306, true, SoundMessage::NoDevice},
        {true, 326, true, SoundMessage::NoDevice},
        {true, 338, true, SoundMessage::NoDevice},
        {true, 343, true, SoundMessage::NoDevice},
        {true, 275, true, SoundMessage::CannotOpen},
        {true, 277, true, SoundMessage::Corrupt},
        {true, 277, false, SoundMessage::NoDevice},
        {true, 281, true, SoundMessage::UnsupportedFormat},
        {true, 296, true, SoundMessage::Corrupt},
        {true, 296, false, SoundMessage::Corrupt},
        {true, 0, true, SoundMessage::Other},
        {true, 263, true, SoundMessage::Other},
        {true, 0xFFFFFFFF, false, SoundMessage::Other},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ClassifySoundFailure(r.fileExists, r.code, r.anyDevice), r.expected)
            << "exists " << r.fileExists << " code " << r.code << " device " << r.anyDevice;
    }
}

TEST(SoundErrors, OtherCodesCarryTheSystemText) {
    EXPECT_EQ(SoundMessageText(SoundMessage::Other, L"The device is not ready."),
              L"サウンドを再生できません。\r\nThe device is not ready.");
    EXPECT_EQ(SoundMessageText(SoundMessage::Other, {}), L"サウンドを再生できません。\r\n");
    const wchar_t buffer[8] = L"Busy";
    EXPECT_EQ(SoundMessageText(SoundMessage::Other, std::wstring_view(buffer, 8)),
              L"サウンドを再生できません。\r\nBusy")
        << "the rest of a fixed buffer";
}

TEST(SoundErrors, CdTrackNumber) {
    struct Row {
        const wchar_t* name;
        int track;
    };
    const Row rows[] = {
        {L"Track03.cda", 3}, {L"Track10.cda", 10}, {L"Track03", 3},     {L"Track3.cda", 1},    {L"", 1},
        {L"Track 3.cda", 1}, {L"Track3x.cda", 1},  {L"Track-3.cda", 1}, {L"Track０３.cda", 1}, {L"Track00.cda", 1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CdTrackNumber(r.name), r.track) << testing::PrintToString(std::wstring(r.name));
    }
}

TEST(SoundErrors, TmsfPutsTheTrackInTheLowByte) {
    EXPECT_EQ(Tmsf(1, 2, 3, 4), 0x04030201u);
}

TEST(SoundErrors, CdRangePlaysOneTrack) {
    EXPECT_EQ(CdRange(3, 10), (CdPlayRange{Tmsf(3, 0, 0, 0), Tmsf(4, 0, 0, 0)}));
    EXPECT_EQ(CdRange(10, 10), (CdPlayRange{Tmsf(10, 0, 0, 0), std::nullopt})) << "last track: to the end";
    EXPECT_EQ(CdRange(CdTrackNumber(L"TrackAB.cda"), 10), (CdPlayRange{Tmsf(1, 0, 0, 0), Tmsf(2, 0, 0, 0)}));
}

} // namespace
} // namespace lumora
