#include "overlays/TelopLayout.h"
#include "overlays/TelopText.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using Lines = std::vector<std::wstring>;

TEST(TelopLayout, LinesDropOnlyTheEmptyOnes) {
    struct Case {
        std::wstring_view text;
        Lines expected;
    };
    const Case cases[] = {
        {L"Lumora 時報\r\n10 時です\r\nLumora 時報／終", {L"Lumora 時報", L"10 時です", L"Lumora 時報／終"}},
        {L"T\r\n\r\n\r\nM\r\nC", {L"T", L"M", L"C"}},
        {L"\r\nT\r\nC\r\n\r\n", {L"T", L"C"}},  // empty last lines go too
        {L"T\r\n  \r\nC", {L"T", L"  ", L"C"}}, // blanks are a line
        {L"T\nM\rC", {L"T", L"M", L"C"}},
        {L"", {}},
        {L"\r\n\r\n", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TelopLines(c.text), c.expected) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(TelopLayout, BoxAndWindowFollowTheDisplay) {
    const TelopBox full = TelopBoxFor(1920, 1080);
    EXPECT_EQ(full.FontHeight, 54);
    EXPECT_EQ(full.OutlineWidth, 6);
    EXPECT_EQ(full.Width, 1440);
    EXPECT_EQ(full.TextHeightLimit, 540);
    EXPECT_EQ(TelopWindowRect(full, 1920, 55), (Rect{240, 16, 1440, 183}));

    const TelopBox small = TelopBoxFor(1366, 768);
    EXPECT_EQ(small.OutlineWidth, 4);
    EXPECT_EQ(TelopWindowRect(small, 1366, 39), (Rect{171, 16, 1025, 129}));
}

TEST(TelopLayout, CharactersFillRowsAndPages) {
    struct Case {
        const char* name;
        std::vector<int> widths;
        int rowWidth, rows;
        std::vector<size_t> starts;
        std::vector<TelopPlace> places;
    };
    const Case cases[] = {
        {"one row", {10, 10, 10}, 50, 3, {0}, {{0, 0}, {10, 0}, {20, 0}}},
        {"wraps", {20, 20, 20, 20}, 50, 3, {0}, {{0, 0}, {20, 0}, {0, 1}, {20, 1}}},
        {"exactly full", {25, 25, 25}, 50, 1, {0, 2}, {{0, 0}, {25, 0}, {0, 0}}},
        // A full-width character after half-width ones must not drop below the last row.
        {"wide after narrow", {10, 10, 20, 20, 10}, 50, 1, {0, 3}, {{0, 0}, {10, 0}, {20, 0}, {0, 0}, {20, 0}}},
        {"wide after narrow, third row",
         {20, 20, 20, 20, 10, 10, 20, 20},
         40,
         3,
         {0, 7},
         {{0, 0}, {20, 0}, {0, 1}, {20, 1}, {0, 2}, {10, 2}, {20, 2}, {0, 0}}},
        {"wider than a row", {80, 10}, 50, 3, {0}, {{0, 0}, {0, 1}}},
        {"no rows", {30, 30}, 50, 0, {0, 1}, {{0, 0}, {0, 0}}},
        {"nothing", {}, 50, 3, {}, {}},
    };
    for (const auto& c : cases) {
        const TelopPaging paging = PageCharacters(c.widths, c.rowWidth, c.rows);
        EXPECT_EQ(paging.PageStarts, c.starts) << c.name;
        EXPECT_EQ(paging.Places, c.places) << c.name;
    }
}

int Measure(std::wstring_view c) {
    return c[0] < 0x100 ? 10 : 20;
}

TEST(TelopLayout, MessageLinesArePagedOnlyWhenTyped) {
    const Lines lines = {L"T", L"abcあい", L"C"};
    const auto typed = LayOutTelop(lines, true, 40, 1, Measure);
    ASSERT_EQ(typed.size(), 4u);
    EXPECT_EQ(typed[0], (TelopLine{L"T", {}, {}}));
    EXPECT_EQ(typed[1], (TelopLine{L"abc", {L"a", L"b", L"c"}, {{0, 0}, {10, 0}, {20, 0}}}));
    EXPECT_EQ(typed[2], (TelopLine{L"あい", {L"あ", L"い"}, {{0, 0}, {20, 0}}}));
    EXPECT_EQ(typed[3], (TelopLine{L"C", {}, {}}));
    EXPECT_EQ(CharacterCounts(typed), (std::vector<size_t>{1, 3, 2, 1}));

    EXPECT_EQ(LayOutTelop(lines, false, 40, 1, Measure).size(), 3u);
    EXPECT_EQ(LayOutTelop({L"T", L"abcdefgh"}, true, 40, 1, Measure).size(), 2u); // no message line
    // A surrogate pair is typed as one character.
    const auto pair = LayOutTelop({L"T", L"a\U0001F600b", L"C"}, true, 100, 1, Measure);
    EXPECT_EQ(pair[1].Characters, (Lines{L"a", L"\U0001F600", L"b"}));
}

TEST(TelopLayout, LongLineFillsWholePages) {
    const auto shown = LayOutTelop({L"T", std::wstring(2000, L'x'), L"C"}, true, 95, 3, Measure);
    ASSERT_EQ(shown.size(), 2u + 75u); // 9 a row, 27 a page
    for (size_t i = 1; i + 1 < shown.size(); ++i) {
        EXPECT_EQ(shown[i].Characters.size(), i + 2 < shown.size() ? 27u : 2000u % 27u) << i;
        EXPECT_EQ(shown[i].Places.back().Row, i + 2 < shown.size() ? 2 : 0) << i;
    }
}

} // namespace
} // namespace lumora
