#include "tools/WorldClockModel.h"

#include "clock/DateTime.h"
#include "clock/TimeText.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

std::vector<uint8_t> Tzi(int32_t bias, size_t size = 44) {
    std::vector<uint8_t> value(size, 0);
    for (size_t i = 0; i < 4 && i < size; ++i) {
        value[i] = static_cast<uint8_t>(static_cast<uint32_t>(bias) >> (8 * i));
    }
    return value;
}

TEST(WorldClockModel, OnlyAWholeBinaryRecordWithABiasWithinADayCounts) {
    EXPECT_EQ(BiasFromTzi(true, Tzi(-540)), -540);
    EXPECT_EQ(BiasFromTzi(true, Tzi(300)), 300);
    EXPECT_EQ(BiasFromTzi(true, Tzi(-540, 4)), std::nullopt); // short
    EXPECT_EQ(BiasFromTzi(false, Tzi(-540)), std::nullopt);   // a string or a number
    EXPECT_EQ(BiasFromTzi(true, Tzi(1440)), std::nullopt);
    EXPECT_EQ(BiasFromTzi(true, {}), std::nullopt);
}

TEST(WorldClockModel, ZonesRunWestToEastAndTheStoredNameWinsOverThePosition) {
    const std::vector<TimeZoneEntry> zones =
        OrderedZones({{L"Tokyo Standard Time", L"(UTC+09:00) 大阪、札幌、東京", -540},
                      {L"UTC", L"(UTC) 協定世界時", 0},
                      {L"Dateline Standard Time", L"(UTC-12:00) 国際日付変更線 西側", 720}});
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0].Bias, 720);
    EXPECT_EQ(zones[2].KeyName, L"Tokyo Standard Time");

    WorldClockSettings settings;
    settings.TimeZone = 1; // a position from an older list
    settings.TimeZoneName = L"Tokyo Standard Time";
    EXPECT_EQ(StoredZoneIndex(settings, zones), 3);
    settings.TimeZoneName = L"Gone Standard Time";
    EXPECT_EQ(StoredZoneIndex(settings, zones), 1);
    settings.TimeZone = 9;
    EXPECT_EQ(StoredZoneIndex(settings, zones), 0);
}

TEST(WorldClockModel, AZoneKeyThatDoesNotOpenIsLeftOutOfTheList) {
    const std::vector<std::wstring> keys{L"Tokyo Standard Time", L"Locked Standard Time", L"UTC"};
    std::vector<std::wstring> asked;
    const std::vector<TimeZoneEntry> zones =
        ReadZoneList(keys, [&asked](const std::wstring& key) -> std::optional<TimeZoneEntry> {
            asked.push_back(key);
            if (key == L"Locked Standard Time") {
                return std::nullopt;
            }
            return TimeZoneEntry{key, L"(" + key + L")", key == L"UTC" ? 0 : -540};
        });
    EXPECT_EQ(asked, keys);
    ASSERT_EQ(zones.size(), 2u);
    EXPECT_EQ(zones[0].KeyName, L"UTC"); // west to east still
    EXPECT_EQ(zones[1].KeyName, L"Tokyo Standard Time");
    EXPECT_EQ(zones[1].Display, L"(Tokyo Standard Time)");
}

TEST(WorldClockModel, ChoicesStoreWhatTheFaceShows) {
    const std::vector<TimeZoneEntry> zones{{L"UTC", L"(UTC) 協定世界時", 0}};
    WorldClockSettings settings;
    ApplyShift(settings, 0.125, true); // 3:00:00 back
    EXPECT_DOUBLE_EQ(settings.TimeDiffTime, -0.125);
    EXPECT_FALSE(settings.WorldClockMode);

    const double now = ComposeDateTime(2026, 12, 7, 21, 0, 0, 0);
    ApplyZone(settings, 1, zones);
    EXPECT_EQ(settings.WorldClockTime, 0.0);
    EXPECT_EQ(settings.TimeZoneName, L"UTC");
    EXPECT_NEAR(DisplayedTime(now, settings, -540), now - 9.0 / 24, 1e-9); // a UTC+9 computer

    ApplyZone(settings, 0, zones); // "(指定しない)"
    EXPECT_EQ(settings.WorldClockTime, NeverDate);
    EXPECT_TRUE(settings.TimeZoneName.empty());
    EXPECT_DOUBLE_EQ(DisplayedTime(now, settings, -540), now);
    EXPECT_EQ(ZonePreview(now, -540, settings, JapaneseLocaleFacts()),
              L"12時 00分 00秒\r\n21時 00分 00秒\r\n21時 00分 00秒");
}

} // namespace
} // namespace lumora
