#include "overlays/OmakeText.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <deque>
#include <tuple>
#include <vector>

namespace lumora {
namespace {

const LocaleFacts Japanese = JapaneseLocaleFacts();
const double June1st = ComposeDateTime(2006, 6, 1, 9, 10, 0, 0);

// Answers the picks in order and keeps the range asked for each, so every choice is known.
struct Script {
    std::deque<int> Answers;
    std::vector<int> Counts;
    RandomPick Pick() {
        return [this](int count) {
            Counts.push_back(count);
            if (Answers.empty()) {
                return -1; // unscripted: shows up in Counts
            }
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        };
    }
};

std::wstring Text(int index, double now, std::deque<int> answers = {}, std::vector<int> counts = {}) {
    Script script{std::move(answers), {}};
    std::wstring text = OmakeText(index, now, Japanese, script.Pick());
    EXPECT_EQ(script.Counts, counts) << "text " << index;
    return text;
}

TEST(OmakeText, TextsWithDrawnAndComputedParts) {
    EXPECT_EQ(Text(0, June1st, {6}, {15}), L"ナイター中継延長のため、54分繰り下げて放送しています。");
    EXPECT_EQ(Text(3, June1st, {14}, {15}), L"高校野球が雨で中止となったため、180分繰り上げて放送しています。");
    EXPECT_EQ(Text(4, June1st, {2}, {15}), L"大リーグ中継は10時で終了します。衛星第3では引き続き放送します。");
    EXPECT_EQ(Text(4, ComposeDateTime(2006, 6, 1, 23, 30, 0, 0), {14}, {15}),
              L"大リーグ中継は0時で終了します。衛星第15では引き続き放送します。");
    EXPECT_EQ(Text(5, June1st, {126}, {127}), L"関東テレビ　第126スタジオから生放送");
    EXPECT_EQ(Text(11, June1st, {0, 7}, {2, 12}), L"この番組は北海道地方で2004年11月1日に放送されたものです。");
    EXPECT_EQ(Text(12, June1st), L"～　国会中継　～　　　平成18年度予算案　審議委員会　生中継");
    EXPECT_EQ(Text(12, ComposeDateTime(2019, 5, 1, 0, 0, 0, 0)),
              L"～　国会中継　～　　　令和1年度予算案　審議委員会　生中継");
    EXPECT_EQ(Text(36, June1st, {0}, {15}), L"統合1チャンネルでは、引き続きニュースをお送りします。");
    EXPECT_EQ(Text(38, June1st), L"投資にはリスクが伴います。必ず自己責任において実行しましょう。");
    EXPECT_EQ(Text(OmakeTextCount, June1st), L"");
}

TEST(OmakeText, PastDateKeepsTheDayWhereTheMonthHasIt) {
    const auto date = [](int y, int m, int d) { return ComposeDateTime(y, m, d, 0, 0, 0, 0); };
    // today, years pick (0 is one year back), months pick, expected date
    const std::tuple<double, int, int, double> rows[] = {
        {ComposeDateTime(2024, 2, 29, 12, 0, 0, 0), 0, 0, date(2023, 2, 28)},
        {date(2024, 2, 29), 0, 1, date(2023, 1, 28)}, // the year first, so the 28th carries on
        {ComposeDateTime(2025, 3, 31, 23, 59, 0, 0), 1, 1, date(2023, 2, 28)},
        {date(2026, 1, 15), 0, 2, date(2024, 11, 15)},
        {date(2026, 5, 31), 1, 11, date(2023, 6, 30)},
    };
    for (const auto& [today, years, months, expected] : rows) {
        Script script{{years, months}, {}};
        EXPECT_EQ(OmakePastDate(today, script.Pick()), expected) << years << ", " << months;
    }
}

TEST(OmakeText, ChoiceOfMarkOrText) {
    Script mark{{1, 9}, {}};
    const OmakeChoice picture = ChooseOmake(June1st, Japanese, mark.Pick());
    EXPECT_TRUE(picture.Picture);
    EXPECT_EQ(picture.Mark, 9);
    EXPECT_EQ(mark.Counts, (std::vector<int>{2, ProgrammeMarkCount}));

    Script text{{0, 1, 4}, {}};
    const OmakeChoice caption = ChooseOmake(June1st, Japanese, text.Pick());
    EXPECT_FALSE(caption.Picture);
    EXPECT_EQ(caption.Text, L"日本シリーズ延長のため、30分繰り下げて放送しています。");
    EXPECT_EQ(text.Counts, (std::vector<int>{2, OmakeTextCount, 15}));
}

} // namespace
} // namespace lumora
