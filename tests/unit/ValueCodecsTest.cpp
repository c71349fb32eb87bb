#include "settings/ValueCodecs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace lumora {
namespace {

TEST(ValueCodecs, ParsesIntegers) {
    struct Case {
        const wchar_t* text;
        std::optional<int32_t> expected;
    };
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    const Case cases[] = {
        {L"0", 0},
        {L"  42\t", 42},
        {L"+7", 7},
        {L"-600000", -600000},
        {L"2147483647", Max},
        {L"-2147483648", Min},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999999", std::nullopt},
        {L"$FF", 255},
        {L"0x2000", 0x2000},
        {L"0Xff", 255},
        {L"$FFFFFFFF", -1},
        {L"$80000005", Min + 5},
        {L"$100000000", std::nullopt},
        {L"$", std::nullopt},
        {L"0x", std::nullopt},
        {L"$FG", std::nullopt},
        {L"-$10", std::nullopt},
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"-", std::nullopt},
        {L"1 2", std::nullopt},
        {L"12a", std::nullopt},
        {L"1.0", std::nullopt},
        {L"\x0661", std::nullopt}, // Arabic-Indic one is not a digit here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(ParseInteger(c.text), c.expected);
    }
    EXPECT_EQ(FormatInteger(-600000), L"-600000");
}

TEST(ValueCodecs, ReadsAnyNonZeroNumberAsTrue) {
    EXPECT_EQ(ParseBoolean(L"0"), false);
    EXPECT_EQ(ParseBoolean(L"1"), true);
    EXPECT_EQ(ParseBoolean(L"-3"), true);
    EXPECT_EQ(ParseBoolean(L"$0"), false);
    EXPECT_EQ(ParseBoolean(L"true"), std::nullopt);
    EXPECT_EQ(FormatBoolean(true), L"1");
    EXPECT_EQ(FormatBoolean(false), L"0");
}

TEST(ValueCodecs, FloatsReadBackExactlyWithEitherSeparator) {
    const double values[] = {0.0,     0.25,      3.0 / 1440, 1.0 / 3,       0.1,   1e-300,
                             -657434, -1.0 / 24, 45678.5,    4.9e-324,      1e300, 123456789012345678.0,
                             -0.0,    2.0 / 3,   1e15 + 0.3, 46000.0 / 1440};
    for (wchar_t separator : {L'.', L','}) {
        for (double value : values) {
            const std::wstring text = FormatFloat(value, separator);
            SCOPED_TRACE(testing::Message() << "text \"" << text << "\"");
            EXPECT_EQ(text.find(separator == L'.' ? L',' : L'.'), std::wstring::npos);
            const std::optional<double> back = ParseFloat(text, separator);
            ASSERT_TRUE(back);
            EXPECT_EQ(*back, value);
            EXPECT_EQ(std::signbit(*back), std::signbit(value));
        }
    }
}

TEST(ValueCodecs, FormatsFloatsTidily) {
    EXPECT_EQ(FormatFloat(0.25, L'.'), L"0.25");
    EXPECT_EQ(FormatFloat(0.25, L','), L"0,25");
    EXPECT_EQ(FormatFloat(0.1, L'.'), L"0.1");
    EXPECT_EQ(FormatFloat(-657434.0, L'.'), L"-657434");
    EXPECT_EQ(FormatFloat(0.0, L'.'), L"0");
    // 1/3 needs more than 15 digits to read back.
    EXPECT_EQ(FormatFloat(1.0 / 3, L'.'), L"0.3333333333333333");
}

TEST(ValueCodecs, ParsesFloatText) {
    struct Case {
        const wchar_t* text;
        wchar_t separator;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {L"0,5", L',', 0.5},
        {L"0.5", L',', 0.5}, // '.' is always understood
        {L" -1.5e3 ", L'.', -1500},
        {L"+2E-2", L'.', 0.02},
        {L".5", L'.', 0.5},
        {L"5.", L'.', 5},
        {L"-657434", L'.', -657434},
        {L"0,5", L'.', std::nullopt},
        {L"", L'.', std::nullopt},
        {L".", L'.', std::nullopt},
        {L"1e", L'.', std::nullopt},
        {L"1e+", L'.', std::nullopt},
        {L"e5", L'.', std::nullopt},
        {L"1.5x", L'.', std::nullopt},
        {L"1.2.3", L'.', std::nullopt},
        {L"1 000", L'.', std::nullopt},
        {L"nan", L'.', std::nullopt},
        {L"NaN", L'.', std::nullopt},
        {L"inf", L'.', std::nullopt},
        {L"-infinity", L'.', std::nullopt},
        {L"0x1p3", L'.', std::nullopt},
        {L"1e400", L'.', std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(ParseFloat(c.text, c.separator), c.expected);
    }
}

TEST(ValueCodecs, ReadsColourNamesAndNumbers) {
    struct Case {
        const wchar_t* text;
        std::optional<Colour> expected;
    };
    const Case cases[] = {
        {L"clRed", 0x0000FF},
        {L" CLRED ", 0x0000FF},
        {L"255", 0x0000FF},
        {L"$000000FF", 0x0000FF},
        {L"clSkyBlue", 0xF0CAA6},
        {L"clNone", ColourNone},
        {L"clDefault", ColourDefault},
        {L"clBtnFace", SystemColourFlag + 15},
        {L"clHotLight", SystemColourFlag + 26},
        {L"clMenuBar", SystemColourFlag + 30},
        {L"-1", 0xFFFFFFFF},
        {L"$80000005", SystemColourFlag + 5},
        {L"clNotAColour", std::nullopt},
        {L"cl", std::nullopt},
        {L"", std::nullopt},
        {L"#FF0000", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(ParseColour(c.text), c.expected);
    }
}

TEST(ValueCodecs, WritesColourNamesWhereThereAreSome) {
    struct Case {
        Colour value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {*ParseColour(L"255"), L"clRed"},
        {Rgb(0xC0, 0xDC, 0xC0), L"clMoneyGreen"},
        {0xFFFFFF, L"clWhite"},
        {0x000000, L"clBlack"},
        {SystemColourFlag + 5, L"clWindow"},
        {SystemColourFlag + 21, L"cl3DDkShadow"},
        {SystemColourFlag + 25, L"$80000019"}, // no name for index 25
        {0x123456, L"$00123456"},
        {0xFFFFFFFF, L"$FFFFFFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "expected " << c.expected);
        EXPECT_EQ(FormatColour(c.value), c.expected);
        EXPECT_EQ(ParseColour(FormatColour(c.value)), c.value);
    }
    EXPECT_EQ(ColourName(0x0000FF), L"clRed");
    EXPECT_FALSE(ColourName(0x123456));
}

TEST(ValueCodecs, SplitsCommaLists) {
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {L"", {}},
        {L"a", {L"a"}},
        {L"0,10,10", {L"0", L"10", L"10"}},
        {L" 2 , 300 ,400 ", {L"2", L"300", L"400"}},
        {L"a,", {L"a", L""}},
        {L",", {L"", L""}},
        {L"a,,b", {L"a", L"", L"b"}},
        {L"\"a, b\",c", {L"a, b", L"c"}},
        {L"\" padded \"", {L" padded "}},
        {L"\"say \"\"hi\"\"\",x", {L"say \"hi\"", L"x"}},
        {L"\"\",\"\"", {L"", L""}},
        {L"\"ab\"cd ,e", {L"abcd", L"e"}},
        {L"\"unclosed, still", {L"unclosed, still"}},
        {L"a\"b", {L"a\"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
        EXPECT_EQ(SplitCommaList(c.text), c.expected);
    }
}

TEST(ValueCodecs, JoinedListsSplitBackToTheSameItems) {
    const std::vector<std::wstring> lists[] = {
        {L"0", L"10", L"10"},
        {L"", L""},
        {L"a b", L"c,d", L"say \"hi\"", L"tab\there", L"plain"},
        {L"", L"x"},
    };
    for (const auto& items : lists) {
        EXPECT_EQ(SplitCommaList(JoinCommaList(items)), items);
        EXPECT_EQ(SplitCommaList(JoinQuotedCommaList(items)), items);
    }
    EXPECT_EQ(JoinCommaList({L"a b", L"c", L"\"q\""}), L"\"a b\",c,\"\"\"q\"\"\"");
    EXPECT_EQ(JoinQuotedCommaList({L"Title", L"Cls"}), L"\"Title\",\"Cls\"");
    EXPECT_EQ(SplitCommaList(JoinQuotedCommaList({L""})), std::vector<std::wstring>{L""});
}

} // namespace
} // namespace lumora
