#include "adjust/AdjustResults.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(AdjustResults, Titles) {
    EXPECT_EQ(AdjustTitle(AdjustKind::Test, AdjustSource::Ntp), L"通信テスト (NTP)|");
    EXPECT_EQ(AdjustTitle(AdjustKind::Automatic, AdjustSource::Http), L"自動時刻合わせ (HTTP)|");
    EXPECT_EQ(AdjustTitle(AdjustKind::Startup, AdjustSource::Kit), L"起動時刻合わせ (電波)|");
    EXPECT_EQ(AdjustTitle(AdjustKind::Manual, AdjustSource::Ntp), L"手動時刻合わせ (NTP)|");
    EXPECT_EQ(ZeroAdjustmentTitle(), L"手動時刻合わせ (ゼロ調整)|");
}

TEST(AdjustResults, EveryFailureWithItsKinds) {
    AdjustRequest request;
    request.Server = L"ntp.example.jp";
    request.Port = 123;
    AdjustRequest kit;
    kit.Server = L"COM3";
    struct Row {
        AdjustFailure failure;
        const AdjustRequest& request;
        const wchar_t* message;
        int kind;
    };
    const Row rows[] = {
        {AdjustFailure::Overloaded, request,
         L"サーバに負荷がかかるのを防ぐため、時刻合わせを中止しました。\r\n10 "
         L"分以上待ってから、操作をやり直してください。",
         2},
        {AdjustFailure::NoServer, request,
         L"サーバが設定されていません。\r\n設定ダイアログでサーバを指定してください。", 2},
        {AdjustFailure::NoInternet, request,
         L"インターネットに接続できません。インターネット接続の設定が間違っていないかどうかをコントロール "
         L"パネルで確認してください。",
         3},
        {AdjustFailure::PortUnusable, request,
         L"123 番の受信ポートは使用できません。\r\n設定ダイアログを使って、別のポート番号に変更してください。", 3},
        {AdjustFailure::UnknownServer, request,
         L"ntp.example.jp というサーバは存在しないか、使用できません。\r\n"
         L"このサーバが有効なサーバかどうかを設定ダイアログで確認してください。",
         3},
        {AdjustFailure::SendFailed, request,
         L"サーバにパケットを送信することができませんでした。しばらく待ってから再度実行してください。\r\n"
         L"それでも送信できない場合は、サーバに不具合が発生している可能性があります。",
         3},
        {AdjustFailure::TimedOut, request,
         L"時刻合わせ中に接続がタイムアウトになり、サーバとの接続が切断されました。サーバの応答に時間がかかっている"
         L"可能性があります。\r\n何度実行してもタイムアウトする場合は、タイムアウトの設定時間を長くしてみてください。",
         3},
        {AdjustFailure::ReceiveFailed, request,
         L"サーバからのデータを正しく受信することができませんでした。しばらく待ってから再度実行してください。\r\n"
         L"それでも受信できない場合は、サーバに不具合が発生している可能性があります。",
         3},
        {AdjustFailure::SetClockFailed, request,
         L"時刻合わせに失敗しました。\r\n現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。",
         3},
        {AdjustFailure::KitPortNotOpen, kit,
         L"通信ポート COM3 を開くことができませんでした。\r\n"
         L"通信ポートにデバイスが割り当てられていないか、他のプログラムが使用中の可能性があります。",
         3},
        {AdjustFailure::KitSilent, kit,
         L"電波時計キットと通信できません。\r\n"
         L"電波時計キットの電源が入っていないか、電波時計キットが違うポートに接続されています。",
         3},
        {AdjustFailure::KitNotReady, kit,
         L"電波時計キットが準備中です。\r\nタイム "
         L"コードのマーカを探しているか、時刻データのデコードが完了していません。"
         L"\r\n数分間待ってから、操作をやり直してください。",
         2},
        {AdjustFailure::KitBadData, kit,
         L"電波時計キットからデータを取得することができませんでした。しばらく待ってから再度実行してください。\r\n"
         L"それでも受信できない場合は、電波時計キットに不具合が発生している可能性があります。",
         3},
    };
    for (const Row& r : rows) {
        const AdjustResult result = AdjustFailed(L"T|", r.failure, r.request);
        EXPECT_EQ(result.Text, std::wstring(L"T|") + r.message) << static_cast<int>(r.failure);
        EXPECT_EQ(result.BalloonKind, r.kind) << static_cast<int>(r.failure);
        EXPECT_EQ(result.BeepKind, r.kind) << static_cast<int>(r.failure);
        EXPECT_FALSE(result.Succeeded || result.ClockSet) << static_cast<int>(r.failure);
    }
}

TEST(AdjustResults, ReportOfASetClockAndOfATest) {
    const LocaleFacts japanese = JapaneseLocaleFacts();
    const double before = ComposeDateTime(2026, 1, 5, 9, 59, 55, 120);
    const double after = ComposeDateTime(2026, 1, 5, 10, 0, 0, 4);

    const AdjustResult set = AdjustSucceeded(L"自動時刻合わせ (NTP)|", AdjustKind::Automatic, before, after, japanese);
    EXPECT_EQ(set.Text, L"自動時刻合わせ (NTP)|調整前の時刻: \t2026年1月5日 09:59:55.120\r\n"
                        L"調整後の時刻: \t2026年1月5日 10:00:00.004");
    EXPECT_EQ(set.BalloonKind, 1);
    EXPECT_EQ(set.BeepKind, 5);
    EXPECT_TRUE(set.Succeeded && set.ClockSet);
    EXPECT_NEAR(set.Correction * MillisecondsPerDay, 4884.0, 0.01);

    const AdjustResult test = AdjustSucceeded(L"通信テスト (HTTP)|", AdjustKind::Test, after, before, japanese);
    EXPECT_EQ(test.Text, L"通信テスト (HTTP)|現在の時刻: \t2026年1月5日 10:00:00.004\r\n"
                         L"受信した時刻: \t2026年1月5日 09:59:55.120");
    EXPECT_EQ(test.BeepKind, 5);
    EXPECT_TRUE(test.Succeeded);
    EXPECT_FALSE(test.ClockSet) << "a test never sets the clock";
    EXPECT_EQ(test.Correction, 0.0);
}

TEST(AdjustResults, AutomaticResultsAreSilentWithoutAdjustMessage) {
    EXPECT_TRUE(AdjustResultShown(AdjustKind::Test, false));
    EXPECT_TRUE(AdjustResultShown(AdjustKind::Manual, false));
    EXPECT_FALSE(AdjustResultShown(AdjustKind::Automatic, false));
    EXPECT_FALSE(AdjustResultShown(AdjustKind::Startup, false));
    EXPECT_TRUE(AdjustResultShown(AdjustKind::Automatic, true));
    EXPECT_TRUE(AdjustResultShown(AdjustKind::Startup, true));
}

} // namespace
} // namespace lumora
