#include "overlays/OmakeText.h"

#include "clock/DateTime.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lumora {
namespace {

// "%d" and "%s" mark where a drawn number or a formatted date goes.
constexpr std::array<std::wstring_view, OmakeTextCount> Texts = {
    L"ナイター中継延長のため、%d分繰り下げて放送しています。",
    L"日本シリーズ延長のため、%d分繰り下げて放送しています。",
    L"バレーボール延長のため、%d分繰り下げて放送しています。",
    L"高校野球が雨で中止となったため、%d分繰り上げて放送しています。",
    L"大リーグ中継は%s時で終了します。衛星第%dでは引き続き放送します。",
    L"関東テレビ　第%dスタジオから生放送",
    L"この番組は関東地方で%sに放送されたものです。",
    L"この番組は関西地方で%sに放送されたものです。",
    L"この番組は九州地方で%sに放送されたものです。",
    L"この番組は東海地方で%sに放送されたものです。",
    L"この番組は中部地方で%sに放送されたものです。",
    L"この番組は北海道地方で%sに放送されたものです。",
    L"", // the budget debate: a date pattern of its own, see below
    L"テレビを見るときは、部屋をあかるくして、テレビからはなれて見ましょう。",
    L"（現在は募集していません）",
    L"（次回は内容を変更してお送りいたします）",
    L"月～金曜日のこの時間は、同一シリーズの番組を再放送しています。（特別番組などで変更になる場合があります）",
    L"この番組は連動データ放送を行っております。",
    L"番組に参加するには、リモコンのｄボタンを押してください。",
    L"加熱時間は、機種やその他のいろいろな条件によって異なりますので、説明書などを参考にしてください。",
    L"ただいま一部の地域で気象条件によりテレビが映りにくくなっています。",
    L"放送権の都合によりお見せできません。ご了承ください。",
    L"日本語は主音声、原語は副音声でお伝えしています。",
    L"ただ今、球場音声のみでお送りしております。",
    L"※通常ペットは入れません。",
    L"＜ 再 放 送 ＞",
    L"ＬＩＶＥ",
    L"Ｖ　Ｔ　Ｒ",
    L"【 資料映像 】",
    L"《 訓　練 》",
    L"この後、CSニュースを２分間お伝えします。",
    L"CSニュースの時間ですが、このまま野球中継を続けます。",
    L"地上デジタル放送では、臨場感あふれる高品位なハイビジョン映像でご覧いただけます。",
    L"この後、コの字画面でスーパーマーケット情報をお伝えします。",
    L"番組の途中ですが、テレビショッキングをお送りします。",
    L"※撮影のため、タオルを着用しております。",
    L"統合%dチャンネルでは、引き続きニュースをお送りします。",
    L"※危険ですから、よい子の皆さんは絶対にマネをしないでください",
    L"投資にはリスクが伴います。必ず自己責任において実行しましょう。",
};

constexpr int BudgetDebateText = 12;
// The era and its year make the fiscal year of the budget, "平成18年度".
constexpr std::wstring_view BudgetDebatePattern = L"'～　国会中継　～　　　'gge'年度予算案　審議委員会　生中継'";

// The minutes a programme is put back (or forward, after a rained-off game).
constexpr std::array<int, 15> DelayMinutes = {5, 10, 15, 20, 30, 45, 54, 60, 64, 74, 80, 90, 120, 150, 180};

// A pick outside its range (a broken source of chance) is held to the ends rather than read past them.
int Draw(const RandomPick& pick, int count) {
    return std::clamp(pick(count), 0, count - 1);
}

std::wstring Fill(std::wstring_view text, std::wstring_view marker, const std::wstring& value) {
    std::wstring out(text);
    if (const size_t at = out.find(marker); at != std::wstring::npos) {
        out.replace(at, marker.size(), value);
    }
    return out;
}

int DaysInMonth(int year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return Days[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Moves the date back by whole months; a day the month lacks becomes its last.
void MonthsBack(DateTimeParts& date, int months) {
    const int index = date.Year * 12 + (date.Month - 1) - months;
    date.Year = index >= 0 ? index / 12 : (index - 11) / 12;
    date.Month = index - date.Year * 12 + 1;
    date.Day = std::min(date.Day, DaysInMonth(date.Year, date.Month));
}

} // namespace

std::wstring OmakeText(int index, double now, const LocaleFacts& locale, const RandomPick& pick) {
    if (index < 0 || index >= OmakeTextCount) {
        return {};
    }
    const std::wstring_view text = Texts[static_cast<size_t>(index)];
    if (index <= 3) {
        const int delay = DelayMinutes[static_cast<size_t>(Draw(pick, static_cast<int>(DelayMinutes.size())))];
        return Fill(text, L"%d", std::to_wstring(delay));
    }
    if (index == 4) {
        // The game ends at the top of the next hour, named as "h" would: 0 to 23, no leading zero.
        const int hour = (SplitDateTime(now).Hour + 1) % 24;
        return Fill(Fill(text, L"%s", std::to_wstring(hour)), L"%d", std::to_wstring(Draw(pick, 15) + 1));
    }
    if (index == 5) {
        return Fill(text, L"%d", std::to_wstring(Draw(pick, 127)));
    }
    if (index >= 6 && index <= 11) {
        return Fill(text, L"%s", FormatDateTime(L"dddddd", OmakePastDate(now, pick), locale));
    }
    if (index == BudgetDebateText) {
        return FormatDateTime(BudgetDebatePattern, now, locale);
    }
    if (index == 36) {
        return Fill(text, L"%d", std::to_wstring(Draw(pick, 15) + 1));
    }
    return std::wstring(text);
}

double OmakePastDate(double today, const RandomPick& pick) {
    DateTimeParts date = SplitDateTime(today);
    // Two steps, as a person would count back: 2024-02-29 less a year is 2023-02-28, and a
    // month before that is 2023-01-28.
    MonthsBack(date, 12 * (Draw(pick, 2) + 1));
    MonthsBack(date, Draw(pick, 12));
    return ComposeDateTime(date.Year, date.Month, date.Day, 0, 0, 0, 0);
}

OmakeChoice ChooseOmake(double now, const LocaleFacts& locale, const RandomPick& pick) {
    // Heads (1) shows a programme mark, tails (0) a text.
    if (Draw(pick, 2) == 1) {
        OmakeChoice choice;
        choice.Picture = true;
        choice.Mark = Draw(pick, ProgrammeMarkCount);
        return choice;
    }
    return ChooseOmakeText(now, locale, pick);
}

OmakeChoice ChooseOmakeText(double now, const LocaleFacts& locale, const RandomPick& pick) {
    OmakeChoice choice;
    const int index = Draw(pick, OmakeTextCount);
    choice.Text = OmakeText(index, now, locale, pick);
    return choice;
}

} // namespace lumora
