#include "clock/LocalePatterns.h"

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

} // namespace
} // namespace lumora
