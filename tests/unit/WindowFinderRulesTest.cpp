#include "tools/WindowFinderRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

using R = FinderRefusal;

TEST(WindowFinderRules, EachConflictIsRefusedWithItsMessageAndArguments) {
    const std::vector<IgnoredWindow> list{
        {L"Editor", L"EditClass"}, {L"", L"AllOfClass"}, {L"Player", L""}, {L"Mail", L"MailClass"}};
    struct Case {
        const wchar_t* title;
        const wchar_t* className;
        R refusal;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {L"EDITOR", L"editclass", R::PairTaken, {L"EDITOR", L"editclass"}},
        {L"Any", L"AllOfClass", R::ClassCoveredForTitle, {L"AllOfClass"}},
        {L"", L"allofclass", R::ClassTaken, {L"allofclass"}},
        {L"Player", L"PlayerClass", R::TitleCoveredForClass, {L"Player"}},
        {L"player", L"", R::TitleTaken, {L"player"}},
        {L"Mail", L"", R::ClassNeeded, {L"Mail"}},
        {L"Mail", L"OtherClass", R::None, {}}, // the same title with another class
        {L"", L"NewClass", R::None, {}},
        {L"New", L"", R::None, {}},
    };
    for (const Case& c : cases) {
        const FinderVerdict verdict = CheckFinderEntry(list, -1, false, c.title, c.className);
        EXPECT_EQ(verdict.Refusal, c.refusal) << c.title << " / " << c.className;
        EXPECT_EQ(verdict.Arguments, c.arguments) << c.title << " / " << c.className;
    }
    // Editing an entry is not checked.
    EXPECT_TRUE(CheckFinderEntry(list, 0, true, L"Player", L"PlayerClass").Accepted());
}

TEST(WindowFinderRules, AnAllWindowsOfClassEntryAfterATitledOneOfTheClassStillRefuses) {
    const std::vector<IgnoredWindow> list{{L"T1", L"C"}, {L"", L"C"}};
    EXPECT_EQ(CheckFinderEntry(list, -1, false, L"T2", L"C").Refusal, R::ClassCoveredForTitle);
    EXPECT_EQ(CheckFinderEntry(list, -1, false, L"", L"C").Refusal, R::ClassTaken);
}

TEST(WindowFinderRules, TheTitleSearchStartsAtTheSelectionAndWraps) {
    const std::vector<IgnoredWindow> list{{L"A", L"X"}, {L"B", L"Y"}, {L"a", L""}};
    EXPECT_EQ(FindTitleWrapping(list, -1, L"A"), 0);
    EXPECT_EQ(FindTitleWrapping(list, 1, L"A"), 2);
    EXPECT_EQ(FindTitleWrapping(list, 2, L"b"), 1);
    EXPECT_EQ(FindTitleWrapping(list, 7, L"A"), 0);
    EXPECT_EQ(FindTitleWrapping(list, 0, L"C"), -1);
    // Which entry is found decides: one with a class lets a new class through, one without does not.
    EXPECT_TRUE(CheckFinderEntry(list, 0, false, L"A", L"Z").Accepted());
    EXPECT_EQ(CheckFinderEntry(list, 1, false, L"A", L"Z").Refusal, R::TitleCoveredForClass);
}

} // namespace
} // namespace lumora
