#include "clock/LocalePatterns.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(LocalePatterns, WindowsLettersBecomeTheClassicOnes) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"yyyy'\u5E74'M'\u6708'd'\u65E5'", L"yyyy'\u5E74'm'\u6708'd'\u65E5'"},
        {L"yyyy\u5E74M\u6708d\u65E5dddd", L"yyyy\u5E74m\u6708d\u65E5dddd"},
        {L"H:mm:ss", L"h:nn:ss"},
        {L"tt h:mm", L"ampm h:nn"},
        {L"dddd, MMMM d, yyyy", L"dddd, mmmm d, yyyy"},
        {L"ggy'\u5E74'", L"ggy'\u5E74'"},
        {L"d 'de' MMMM", L"d 'de' mmmm"},
        {L"d. MMMM yyyy 'z'", L"d. mmmm yyyy 'z'"},
        {L"yyyy/MM/dd z", L"yyyy/mm/dd 'z'"}, // a stray letter stays literal
        {L"'open", L"'open'"},
    };
    for (const auto& [windows, classic] : cases) {
        EXPECT_EQ(TranslateWindowsPattern(windows), classic);
    }
}

// The era values of a Japanese Windows, value name and data as its registry holds them.
const std::vector<std::pair<std::wstring, std::wstring>> WindowsEras = {
    {L"2019 05 01", L"令和_令_Reiwa_R"}, {L"1868 01 01", L"明治_明_Meiji_M"},  {L"1912 07 30", L"大正_大_Taisho_T"},
    {L"1926 12 25", L"昭和_昭_Showa_S"}, {L"1989 01 08", L"平成_平_Heisei_H"},
};

TEST(LocalePatterns, WindowsPatternsShowWhatWindowsShows) {
    LocaleFacts facts = JapaneseLocaleFacts();
    facts.Eras = WindowsEraTable(WindowsEras);
    const auto at = [](int year, int month, int day) { return ComposeDateTime(year, month, day, 15, 5, 7, 0); };
    constexpr CalendarType Gregorian = CalendarType::Gregorian;
    constexpr CalendarType Era = CalendarType::JapaneseEra;
    struct Row {
        const wchar_t* pattern;
        CalendarType calendar;
        double at;
        const wchar_t* expected;
    };
    const Row rows[] = {
        // Windows' h is on 12 hours wherever its marker stands, H never.
        {L"tt h:mm:ss", Gregorian, at(2025, 6, 15), L"午後 3:05:07"},
        {L"h:mm:ss tt", Gregorian, ComposeDateTime(2025, 6, 15, 0, 5, 7, 0), L"12:05:07 午前"},
        {L"H:mm:ss", Gregorian, at(2025, 6, 15), L"15:05:07"},
        // Under the era calendar y is the year of the era; g and gg both name the era in full.
        {L"gg y'年'", Era, at(2025, 6, 15), L"令和 7年"},
        {L"gg y'年'", Era, at(2019, 4, 30), L"平成 31年"},
        {L"gg y'年'", Era, at(2019, 5, 1), L"令和 1年"},
        {L"gg y'年'", Era, at(1989, 1, 7), L"昭和 64年"},
        {L"gg y'年'", Era, at(1989, 1, 8), L"平成 1年"},
        {L"g yy yyyy|ggy/M/d", Era, at(2025, 6, 15), L"令和 07 07|令和7/6/15"},
        // The Gregorian calendar keeps the Gregorian year.
        {L"yyyy/MM/dd yy", Gregorian, at(2025, 6, 15), L"2025/06/15 25"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FormatDateTime(TranslateWindowsPattern(r.pattern, r.calendar), r.at, facts), r.expected) << r.pattern;
    }
    // The short name of an era is the one kanji Windows gives.
    EXPECT_EQ(FormatDateTime(L"ge", at(1926, 12, 24), facts), L"大15");
}

TEST(LocalePatterns, DamagedEraValuesAreSkipped) {
    std::vector<std::pair<std::wstring, std::wstring>> values = WindowsEras;
    values.insert(values.end(), {{L"2030 1 1", L"仮名_仮_Test_X"},
                                 {L"2030 13 01", L"仮名_仮_Test_X"},
                                 {L"2030 01 32", L"仮名_仮_Test_X"},
                                 {L"2O30 01 01", L"仮名_仮_Test_X"},
                                 {L"2030 01 01", L"仮名_仮_Test"},
                                 {L"2030 01 01", L"仮名__Test_X"},
                                 {L"2030 01 01", L"仮名_仮_Test_X_Y"},
                                 {L"", L""}});
    EXPECT_EQ(WindowsEraTable(values).size(), 5u);
    // Fewer than the four eras every Windows with the table has shipped is a damaged table.
    values.erase(values.begin(), values.begin() + 2);
    EXPECT_TRUE(WindowsEraTable(values).empty());
}

} // namespace
} // namespace lumora
