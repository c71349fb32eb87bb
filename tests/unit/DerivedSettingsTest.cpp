#include "settings/DerivedSettings.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(DerivedSettings, TimeFormatFollowsTheFormatFlags) {
    struct Case {
        bool hour, hourDouble, minute, minuteDouble, second, secondDouble;
        const wchar_t* pattern;
    };
    const Case cases[] = {
        {false, true, false, true, false, true, L"h:nn"},  {true, false, true, true, false, true, L"h:nn"},
        {true, true, true, true, true, true, L"hh:nn;ss"}, {true, false, false, false, true, false, L"hs"},
        {false, false, true, false, true, true, L"n;ss"},  {false, false, false, false, true, false, L"s"},
        {true, true, false, false, false, false, L"hh"},
    };
    for (const auto& c : cases) {
        FormatSettings f;
        f.Hour = c.hour;
        f.HourDouble = c.hourDouble;
        f.Minute = c.minute;
        f.MinuteDouble = c.minuteDouble;
        f.Second = c.second;
        f.SecondDouble = c.secondDouble;
        EXPECT_EQ(BuildTimeFormat(f), c.pattern);
    }
}

SystemColourTable Greys() {
    SystemColourTable table{};
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = Rgb(static_cast<uint8_t>(i * 4), static_cast<uint8_t>(i * 4), static_cast<uint8_t>(i * 4));
    }
    table[5] = 0xFF00FF; // a user whose window colour is magenta
    return table;
}

TEST(DerivedSettings, KeyColourIsTheFirstColourTheFaceDoesNotUse) {
    const SystemColourTable system = Greys();
    DesignSettings d;
    EXPECT_EQ(ChooseClockKeyColour(d, system), 0xFF00FFu);

    d.DigitColor = 0xFF00FF;
    d.ShadowColor = 0x0000FF;
    EXPECT_EQ(ChooseClockKeyColour(d, system), 0xFFFF00u);

    d.DigitColor = SystemColourFlag | 5; // resolves to magenta
    d.ShadowColor = ColourGray;
    EXPECT_EQ(ChooseClockKeyColour(d, system), 0x0000FFu);

    d.BackGroundType = 1;
    d.Color = SystemColourFlag | 3;
    EXPECT_EQ(ChooseClockKeyColour(d, system), system[3]);
}

TEST(DerivedSettings, HoleColourAlsoAvoidsTheBackgroundColour) {
    const SystemColourTable system = Greys();
    DesignSettings d;
    d.Color = 0xFF00FF;
    EXPECT_EQ(ChooseHoleColour(d, system), 0x0000FFu);
}

TEST(DerivedSettings, CandidatesSkipEveryColourTheFaceUses) {
    DesignSettings d;
    d.DigitColor = 0xFF00FF;
    d.OuterFrameColor = 0x0000FF;
    d.InnerFrameColor = 0xFFFF00;
    d.ShadowColor = 0x00FFFF;
    d.Color = 0x00FF00;
    EXPECT_EQ(ChooseClockKeyColour(d, Greys()), 0x00FF00u);
    EXPECT_EQ(ChooseHoleColour(d, Greys()), 0xFF0000u);
    EXPECT_EQ(ResolveColour(SystemColourFlag | 200, Greys()), 0u);
}

} // namespace
} // namespace lumora
