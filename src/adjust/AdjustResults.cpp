#include "adjust/AdjustResults.h"

#include "adjust/AdjustSchedule.h"

#include <utility>

namespace lumora {
namespace {

std::wstring_view KindText(AdjustKind kind) {
    switch (kind) {
    case AdjustKind::Test:
        return L"通信テスト";
    case AdjustKind::Automatic:
        return L"自動時刻合わせ";
    case AdjustKind::Startup:
        return L"起動時刻合わせ";
    case AdjustKind::Manual:
        break;
    }
    return L"手動時刻合わせ";
}

std::wstring_view SourceText(AdjustSource source) {
    switch (source) {
    case AdjustSource::Ntp:
        return L"(NTP)";
    case AdjustSource::Http:
        return L"(HTTP)";
    case AdjustSource::Kit:
        break;
    }
    return L"(電波)";
}

std::wstring Title(std::wstring_view kind, std::wstring_view source) {
    return std::wstring(kind) + L" " + std::wstring(source) + L"|";
}

struct FailureText {
    std::wstring Message;
    int Kind; // balloon and beep alike
};

FailureText Failure(AdjustFailure failure, const AdjustRequest& request) {
    switch (failure) {
    case AdjustFailure::Overloaded:
        return {L"サーバに負荷がかかるのを防ぐため、時刻合わせを中止しました。\r\n" +
                    std::to_wstring(OverloadGuardMinutes) + L" 分以上待ってから、操作をやり直してください。",
                BalloonWarning};
    case AdjustFailure::NoServer:
        return {L"サーバが設定されていません。\r\n設定ダイアログでサーバを指定してください。", BalloonWarning};
    case AdjustFailure::NoInternet:
        return {L"インターネットに接続できません。"
                L"インターネット接続の設定が間違っていないかどうかをコントロール パネルで確認してください。",
                BalloonError};
    case AdjustFailure::PortUnusable:
        return {std::to_wstring(request.Port) +
                    L" 番の受信ポートは使用できません。\r\n設定ダイアログを使って、別のポート番号に変更してください。",
                BalloonError};
    case AdjustFailure::UnknownServer:
        return {request.Server + L" というサーバは存在しないか、使用できません。\r\n"
                                 L"このサーバが有効なサーバかどうかを設定ダイアログで確認してください。",
                BalloonError};
    case AdjustFailure::SendFailed:
        return {L"サーバにパケットを送信することができませんでした。しばらく待ってから再度実行してください。\r\n"
                L"それでも送信できない場合は、サーバに不具合が発生している可能性があります。",
                BalloonError};
    case AdjustFailure::TimedOut:
        return {L"時刻合わせ中に接続がタイムアウトになり、サーバとの接続が切断されました。"
                L"サーバの応答に時間がかかっている可能性があります。\r\n"
                L"何度実行してもタイムアウトする場合は、タイムアウトの設定時間を長くしてみてください。",
                BalloonError};
    case AdjustFailure::ReceiveFailed:
        return {
            L"サーバからのデータを正しく受信することができませんでした。しばらく待ってから再度実行してください。\r\n"
            L"それでも受信できない場合は、サーバに不具合が発生している可能性があります。",
            BalloonError};
    case AdjustFailure::SetClockFailed:
        return {L"時刻合わせに失敗しました。\r\n"
                L"現在ログオンしているユーザには時刻合わせに必要な権限がない可能性があります。",
                BalloonError};
    case AdjustFailure::KitPortNotOpen:
        return {L"通信ポート " + request.Server +
                    L" を開くことができませんでした。\r\n"
                    L"通信ポートにデバイスが割り当てられていないか、他のプログラムが使用中の可能性があります。",
                BalloonError};
    case AdjustFailure::KitSilent:
        return {L"電波時計キットと通信できません。\r\n"
                L"電波時計キットの電源が入っていないか、電波時計キットが違うポートに接続されています。",
                BalloonError};
    case AdjustFailure::KitNotReady:
        return {L"電波時計キットが準備中です。\r\n"
                L"タイム コードのマーカを探しているか、時刻データのデコードが完了していません。\r\n"
                L"数分間待ってから、操作をやり直してください。",
                BalloonWarning};
    case AdjustFailure::KitBadData:
        break;
    }
    return {L"電波時計キットからデータを取得することができませんでした。しばらく待ってから再度実行してください。\r\n"
            L"それでも受信できない場合は、電波時計キットに不具合が発生している可能性があります。",
            BalloonError};
}

std::wstring ReportLine(std::wstring_view label, double at, const LocaleFacts& locale) {
    return std::wstring(label) + L": \t" + FormatDateTime(L"dddddd hh:nn:ss.zzz", at, locale);
}

} // namespace

std::wstring AdjustTitle(AdjustKind kind, AdjustSource source) {
    return Title(KindText(kind), SourceText(source));
}

std::wstring ZeroAdjustmentTitle() {
    return Title(KindText(AdjustKind::Manual), L"(ゼロ調整)");
}

AdjustResult AdjustFailed(std::wstring_view title, AdjustFailure failure, const AdjustRequest& request) {
    FailureText text = Failure(failure, request);
    return {.Text = std::wstring(title) + text.Message, .BalloonKind = text.Kind, .BeepKind = text.Kind};
}

AdjustResult AdjustSetRefused(std::wstring_view title, ClockSetError error, double correction,
                              std::function<AdjustResult(double afterUtc)> reportSetAfterAll) {
    AdjustResult result = AdjustFailed(title, AdjustFailure::SetClockFailed);
    result.SetError = error;
    if (error == ClockSetError::NoPrivilege) {
        result.Correction = correction;
        result.ReportSetAfterAll = std::move(reportSetAfterAll);
    }
    return result;
}

AdjustResult AdjustSucceeded(std::wstring_view title, AdjustKind kind, double before, double after,
                             const LocaleFacts& locale) {
    const bool test = kind == AdjustKind::Test;
    return {.Text = std::wstring(title) + ReportLine(test ? L"現在の時刻" : L"調整前の時刻", before, locale) + L"\r\n" +
                    ReportLine(test ? L"受信した時刻" : L"調整後の時刻", after, locale),
            .BalloonKind = BalloonInformation,
            .BeepKind = BeepNone,
            .Succeeded = true,
            .ClockSet = !test,
            .Correction = test ? 0.0 : after - before};
}

AdjustFollowUp FollowUpOf(const AdjustResult& result, bool adjustSound) {
    const bool run = result.Origin == AdjustOrigin::Run;
    return {.FollowClock = result.ClockSet,
            .RefreshNotificationArea = result.ClockSet && run,
            .RedrawTaskbarClock = result.ClockSet && !run,
            .PlaySound = result.Succeeded && adjustSound && run};
}

} // namespace lumora
