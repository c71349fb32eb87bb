// The views of the pages "操作", "時報", "時刻合わせ", "起動" and "おまけ".

#include "options/FilePicks.h"
#include "options/OptionPageView.h"
#include "options/TopLevelPagesRes.h"
#include "resources/ResourceIds.h"
#include "shell/MessageBoxes.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <span>

namespace lumora {
namespace {

constexpr int HoursPerDay = 24;

bool Preview(HWND page, int buttonId, const std::wstring& file, OptionActions& actions) {
    actions.Preview(GetDlgItem(page, buttonId), file);
    return true;
}

// Page 11 "操作".
class OperationView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_OPTION_OPERATION; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        static constexpr std::array<std::wstring_view, 4> behaviours{L"透過しない", L"隠す", L"穴を開ける",
                                                                     L"素通りする"};
        const auto offered =
            static_cast<size_t>(OperationPage::OnMouseEntryCount(facts.Display.LayeredWindowsAvailable));
        page.FillChoices(IDC_OP_ON_MOUSE, std::span<const std::wstring_view>(behaviours).first(offered));
        page.NumberField(IDC_OP_SNAP_POSITION, IDC_OP_SNAP_POSITION_UPDOWN, {1, 100}, 3);
        page.NumberField(IDC_OP_SNAP_X, IDC_OP_SNAP_X_UPDOWN, {-200, 200}, 4);
        page.NumberField(IDC_OP_SNAP_Y, IDC_OP_SNAP_Y_UPDOWN, {-200, 200}, 4);
        page.NumberField(IDC_OP_THRESHOLD, IDC_OP_THRESHOLD_UPDOWN, {-10, 50}, 3);
        page.SliderRange(IDC_OP_HOLE_SIZE, 0, 200);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& o = values.Operation;
        page.Check(IDC_OP_SNAP, o.Snap);
        page.Text(IDC_OP_SNAP_POSITION, o.SnapPosition);
        page.Check(IDC_OP_SNAP_TASKBAR, o.SnapTaskBar);
        page.Check(IDC_OP_NO_PROTRUDE, o.NoProtrude);
        page.Text(IDC_OP_SNAP_X, o.SnapX);
        page.Text(IDC_OP_SNAP_Y, o.SnapY);
        page.Choice(IDC_OP_ON_MOUSE, o.OnMouse);
        page.Text(IDC_OP_THRESHOLD, o.Threshold);
        page.Slider(IDC_OP_HOLE_SIZE, o.HoleSize);
        int abort = static_cast<int>(o.Abort);
        page.Radio({IDC_OP_ABORT_CTRL, IDC_OP_ABORT_ALT, IDC_OP_ABORT_SHIFT}, abort);
        o.Abort = static_cast<AbortKey>(abort);
        ExchangeHotKey(page, o.HotKey);
        int mode = o.Momentary ? 1 : 0;
        page.Radio({IDC_OP_ALTERNATE, IDC_OP_MOMENTARY}, mode);
        o.Momentary = mode == 1;
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto r = values.Operation.Evaluate();
        page.Enable({IDC_OP_SNAP_POSITION_LABEL, IDC_OP_SNAP_POSITION, IDC_OP_SNAP_POSITION_UPDOWN, IDC_OP_SNAP_TASKBAR,
                     IDC_OP_NO_PROTRUDE, IDC_OP_POINT_GROUP, IDC_OP_SNAP_X_LABEL, IDC_OP_SNAP_X, IDC_OP_SNAP_X_UPDOWN,
                     IDC_OP_SNAP_Y_LABEL, IDC_OP_SNAP_Y, IDC_OP_SNAP_Y_UPDOWN},
                    r.SnapDetailsEnabled);
        page.Show({IDC_OP_ABORT_LABEL, IDC_OP_ABORT_CTRL, IDC_OP_ABORT_ALT, IDC_OP_ABORT_SHIFT}, r.AbortKeysShown);
        page.Show({IDC_OP_THRESHOLD_LABEL, IDC_OP_THRESHOLD, IDC_OP_THRESHOLD_UPDOWN}, r.ThresholdShown);
        page.Show({IDC_OP_HOLE_LABEL, IDC_OP_HOLE_SMALL, IDC_OP_HOLE_SIZE, IDC_OP_HOLE_LARGE}, r.HoleSizeShown);
        page.SetText(IDC_OP_KEY_CODE, values.Operation.KeyCodeText());
    }

private:
    static void ExchangeHotKey(PageControls& page, int32_t& shortcut) {
        HWND control = page.Item(IDC_OP_HOTKEY);
        const uint16_t shown = OperationPage::HotKeyControlValue(shortcut);
        if (page.Loading()) {
            SendMessageW(control, HKM_SETHOTKEY, shown, 0);
            return;
        }
        // A stored key the control cannot show stays until the user presses another.
        const auto value = LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
        if (value != shown) {
            shortcut = OperationPage::ShortcutOfHotKeyControl(value);
        }
    }
};

// Page 12 "時報".
class CuckooView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_OPTION_CUCKOO; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        static constexpr std::array<std::wstring_view, 3> modes{L"鳴らさない", L"鳩時計モード", L"野鳥時計モード"};
        static constexpr std::array<std::wstring_view, 4> notices{L"(なし)", L"メッセージ ボックス", L"バルーン",
                                                                  L"テロップ"};
        page.FillChoices(IDC_CK_MODE, modes);
        page.FillChoices(IDC_CK_NOTIFY, notices);
        page.NumberField(IDC_CK_TIMING, IDC_CK_TIMING_UPDOWN, {-60000, 60000}, 6);
        for (const int id : {IDC_CK_FIRST, IDC_CK_REPEAT_FILE, IDC_CK_LAST, IDC_CK_WILD_FILE}) {
            page.LimitText(id, 255);
        }
        PrepareHourList(page.Item(IDC_CK_WILD_LIST));
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& c = values.Cuckoo;
        page.Choice(IDC_CK_MODE, c.Mode);
        page.Text(IDC_CK_TIMING, c.Timing);
        page.Check(IDC_CK_SILENT, c.InvisibleSilent);
        page.Check(IDC_CK_HALF_HOUR, c.HalfHour);
        page.Text(IDC_CK_FIRST, c.FirstFile);
        page.Check(IDC_CK_REPEAT, c.Repeat);
        page.Text(IDC_CK_REPEAT_FILE, c.RepeatFile);
        page.Text(IDC_CK_LAST, c.LastFile);
        page.Choice(IDC_CK_NOTIFY, c.Notify);
        page.Text(IDC_CK_MESSAGE, c.Message);
        if (page.Loading()) {
            ShowHourFiles(page.Item(IDC_CK_WILD_LIST), c.WildBird);
            shownFile_ = HourValid(c) ? c.WildBird[c.SelectedHour] : std::wstring();
            if (!pickedShown_.empty()) { // the dialog's (first) file, whichever hour has the focus
                shownFile_ = std::move(pickedShown_);
                pickedShown_.clear();
            }
            editedHours_ = selectedHours_;
            page.SetText(IDC_CK_WILD_FILE, shownFile_);
            return;
        }
        // The field shows the focused hour's sound; a text that differs was typed, and names the
        // sound of every hour that was selected when it was shown. (The selection may have moved
        // on already: the dialog stores the page again before the field follows.)
        const std::wstring typed = page.GetText(IDC_CK_WILD_FILE);
        if (typed != shownFile_) {
            for (const int hour : editedHours_) {
                c.WildBird[hour] = typed;
            }
            shownFile_ = typed;
        }
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto r = values.Cuckoo.Evaluate();
        page.Show({IDC_CK_TIMING_LABEL, IDC_CK_TIMING, IDC_CK_TIMING_UPDOWN, IDC_CK_TIMING_UNIT, IDC_CK_SILENT,
                   IDC_CK_NOTIFY_LABEL, IDC_CK_NOTIFY, IDC_CK_MESSAGE_LABEL, IDC_CK_MESSAGE},
                  r.SignalShown);
        page.Enable({IDC_CK_MESSAGE_LABEL, IDC_CK_MESSAGE}, r.MessageEnabled);
        page.Show({IDC_CK_HALF_HOUR, IDC_CK_FIRST_LABEL, IDC_CK_FIRST, IDC_CK_FIRST_BROWSE, IDC_CK_FIRST_PREVIEW,
                   IDC_CK_REPEAT, IDC_CK_REPEAT_FILE, IDC_CK_REPEAT_BROWSE, IDC_CK_REPEAT_PREVIEW, IDC_CK_LAST_LABEL,
                   IDC_CK_LAST, IDC_CK_LAST_BROWSE, IDC_CK_LAST_PREVIEW},
                  r.CuckooShown);
        page.Enable({IDC_CK_REPEAT_FILE, IDC_CK_REPEAT_BROWSE}, r.RepeatFileEnabled);
        page.Enable({IDC_CK_FIRST_PREVIEW}, r.FirstPreviewEnabled);
        page.Enable({IDC_CK_REPEAT_PREVIEW}, r.RepeatPreviewEnabled);
        page.Enable({IDC_CK_LAST_PREVIEW}, r.LastPreviewEnabled);
        page.Show({IDC_CK_WILD_LABEL, IDC_CK_WILD_LIST, IDC_CK_WILD_FILE_LABEL, IDC_CK_WILD_FILE, IDC_CK_WILD_BROWSE,
                   IDC_CK_WILD_PREVIEW},
                  r.WildBirdShown);
        EnableHourField(page, values.Cuckoo);
        // Typing in the field reaches the list at once.
        ShowHourFiles(page.Item(IDC_CK_WILD_LIST), values.Cuckoo.WildBird);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        if (code != BN_CLICKED) {
            return false;
        }
        auto& c = values.Cuckoo;
        switch (id) {
        case IDC_CK_FIRST_BROWSE:
            return PickFileInto(page, FileKind::Sound, c.FirstFile, actions);
        case IDC_CK_REPEAT_BROWSE:
            return PickFileInto(page, FileKind::Sound, c.RepeatFile, actions);
        case IDC_CK_LAST_BROWSE:
            return PickFileInto(page, FileKind::Sound, c.LastFile, actions);
        case IDC_CK_WILD_BROWSE:
            return PickHourSound(page, c, actions);
        case IDC_CK_FIRST_PREVIEW:
            return Preview(page, id, c.FirstFile, actions);
        case IDC_CK_REPEAT_PREVIEW:
            return Preview(page, id, c.RepeatFile, actions);
        case IDC_CK_LAST_PREVIEW:
            return Preview(page, id, c.LastFile, actions);
        case IDC_CK_WILD_PREVIEW:
            return HourValid(c) && Preview(page, id, c.WildBird[c.SelectedHour], actions);
        default:
            return false;
        }
    }

    bool Notify(HWND page, const NMHDR& header, OptionValues& values, OptionActions& actions) override {
        if (header.idFrom != IDC_CK_WILD_LIST) {
            return false;
        }
        if (header.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) == 0) {
                return false;
            }
            ReadSelection(header.hwndFrom, values.Cuckoo);
            // A new selection is no change of the settings, so the dialog's rules do not run.
            PageControls controls(page, ExchangeDirection::Load);
            EnableHourField(controls, values.Cuckoo);
            return true;
        }
        if (header.code == NM_DBLCLK &&
            std::ranges::count(selectedHours_, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem) > 0) {
            return PickHourSound(page, values.Cuckoo, actions);
        }
        return false;
    }

private:
    static bool HourValid(const CuckooPage& c) { return c.SelectedHour >= 0 && c.SelectedHour < HoursPerDay; }

    void EnableHourField(PageControls& page, const CuckooPage& c) const {
        const bool anySelected = !selectedHours_.empty();
        page.Enable({IDC_CK_WILD_FILE_LABEL, IDC_CK_WILD_FILE, IDC_CK_WILD_BROWSE}, anySelected);
        page.Enable({IDC_CK_WILD_PREVIEW}, anySelected && c.Evaluate().WildBirdPreviewEnabled);
    }

    static void PrepareHourList(HWND list) {
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        RECT client{};
        GetClientRect(list, &client);
        RECT hourColumn{0, 0, 40, 0};
        MapDialogRect(GetParent(list), &hourColumn);
        std::wstring hourTitle = L"時間帯";
        std::wstring fileTitle = L"サウンド ファイル";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = hourTitle.data();
        column.cx = hourColumn.right;
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        column.pszText = fileTitle.data();
        column.cx = std::max<int>(client.right - hourColumn.right - GetSystemMetrics(SM_CXVSCROLL), hourColumn.right);
        SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        for (int hour = 0; hour < HoursPerDay; ++hour) {
            std::wstring text = std::to_wstring(hour) + L" 時";
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = hour;
            item.pszText = text.data();
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }

    static void ShowHourFiles(HWND list, const std::array<std::wstring, HoursPerDay>& files) {
        for (int hour = 0; hour < HoursPerDay; ++hour) {
            wchar_t shown[MAX_PATH + 1] = {};
            LVITEMW item{};
            item.iSubItem = 1;
            item.pszText = shown;
            item.cchTextMax = static_cast<int>(std::size(shown));
            SendMessageW(list, LVM_GETITEMTEXTW, hour, reinterpret_cast<LPARAM>(&item));
            if (files[hour] != shown) { // an unchanged row is not redrawn
                std::wstring text = files[hour];
                item.pszText = text.data();
                SendMessageW(list, LVM_SETITEMTEXTW, hour, reinterpret_cast<LPARAM>(&item));
            }
        }
    }

    // The selected hours, and the focused one whose sound the field shows.
    void ReadSelection(HWND list, CuckooPage& c) {
        selectedHours_.clear();
        for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
            selectedHours_.push_back(row);
        }
        const auto focused =
            static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        c.SelectedHour = selectedHours_.empty() ? -1 : focused >= 0 ? focused : selectedHours_.front();
    }

    // One chosen file becomes the sound of every selected hour; several (allowed when several
    // hours are selected) go to the selected hours in the list's order while they last.
    bool PickHourSound(HWND page, CuckooPage& c, OptionActions& actions) {
        if (selectedHours_.empty()) {
            return true;
        }
        std::wstring file = HourValid(c) ? c.WildBird[c.SelectedHour] : std::wstring();
        std::vector<std::wstring> files;
        if (selectedHours_.size() > 1) {
            actions.PickSounds(OptionDialogOf(page), file, files);
        } else if (actions.PickSound(OptionDialogOf(page), file)) {
            files.push_back(file);
        }
        if (!files.empty()) {
            AssignChosenFiles(selectedHours_, files, c.WildBird);
            pickedShown_ = files.front();
            actions.Changed();
        }
        return true;
    }

    std::vector<int> selectedHours_; // as the list has them now
    std::vector<int> editedHours_;   // the selection the field's text belongs to
    std::wstring shownFile_;         // what the field was given or last stored
    std::wstring pickedShown_;       // the field's text after a pick
};

// Page 13 "時刻合わせ".
class AdjustView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_OPTION_ADJUST; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        static constexpr std::array<std::wstring_view, 4> methods{L"使用しない", L"NTP 方式", L"HTTP 方式",
                                                                  L"電波時計"};
        page.FillChoices(IDC_ADJ_METHOD, methods);
        page.FillChoices(IDC_ADJ_KIT_PORT, facts.PortTexts);
        for (const int id : {IDC_ADJ_NTP, IDC_ADJ_HTTP, IDC_ADJ_PROXY}) {
            page.LimitText(id, 127);
        }
        constexpr NumberRange port{0, 9999};
        constexpr NumberRange timeOut{1, 60};
        constexpr NumberRange offset{-600000, 600000};
        page.NumberField(IDC_ADJ_NTP_PORT, IDC_ADJ_NTP_PORT_UPDOWN, port, 4);
        page.NumberField(IDC_ADJ_NTP_TIMEOUT, IDC_ADJ_NTP_TIMEOUT_UPDOWN, timeOut, 2);
        page.NumberField(IDC_ADJ_NTP_OFFSET, IDC_ADJ_NTP_OFFSET_UPDOWN, offset, 7);
        page.NumberField(IDC_ADJ_PROXY_PORT, IDC_ADJ_PROXY_PORT_UPDOWN, port, 4);
        page.NumberField(IDC_ADJ_HTTP_TIMEOUT, IDC_ADJ_HTTP_TIMEOUT_UPDOWN, timeOut, 2);
        page.NumberField(IDC_ADJ_HTTP_OFFSET, IDC_ADJ_HTTP_OFFSET_UPDOWN, offset, 7);
        page.NumberField(IDC_ADJ_KIT_TIMEOUT, IDC_ADJ_KIT_TIMEOUT_UPDOWN, timeOut, 2);
        page.NumberField(IDC_ADJ_KIT_OFFSET, IDC_ADJ_KIT_OFFSET_UPDOWN, offset, 7);
        page.NumberField(IDC_ADJ_INTERVAL, IDC_ADJ_INTERVAL_UPDOWN, {1, 10080}, 5);
        page.LimitText(IDC_ADJ_SOUND_FILE, 255);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& a = values.Adjust;
        page.Choice(IDC_ADJ_METHOD, a.Method);
        ExchangeServers(page, IDC_ADJ_NTP, a.NtpServers, a.NtpServer);
        page.Text(IDC_ADJ_NTP_PORT, a.NtpPort);
        page.Text(IDC_ADJ_NTP_TIMEOUT, a.NtpTimeOut);
        page.Text(IDC_ADJ_NTP_OFFSET, a.NtpOffset);
        ExchangeServers(page, IDC_ADJ_HTTP, a.HttpServers, a.HttpServer);
        page.Text(IDC_ADJ_PROXY, a.ProxyServer);
        page.Text(IDC_ADJ_PROXY_PORT, a.ProxyPort);
        page.Text(IDC_ADJ_HTTP_TIMEOUT, a.HttpTimeOut);
        page.Text(IDC_ADJ_HTTP_OFFSET, a.HttpOffset);
        page.Choice(IDC_ADJ_KIT_PORT, a.Port);
        page.UpDownPosition(IDC_ADJ_KIT_TIMEOUT_UPDOWN, a.KitTimeOutPosition); // first: it writes its field
        page.Text(IDC_ADJ_KIT_TIMEOUT, a.KitTimeOut);
        page.Text(IDC_ADJ_KIT_OFFSET, a.KitOffset);
        page.Check(IDC_ADJ_BOOT, a.BootAdjust);
        page.Check(IDC_ADJ_AUTO, a.AutoAdjust);
        page.Text(IDC_ADJ_INTERVAL, a.Interval);
        page.Check(IDC_ADJ_MESSAGE, a.Message);
        page.Check(IDC_ADJ_SOUND, a.Sound);
        page.Text(IDC_ADJ_SOUND_FILE, a.SoundFile);
        if (page.Loading()) {
            acceptedMethod_ = a.Method;
        }
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto& a = values.Adjust;
        const auto r = a.Evaluate();
        page.Show({IDC_ADJ_NTP_LABEL, IDC_ADJ_NTP, IDC_ADJ_NTP_ADD, IDC_ADJ_NTP_DELETE, IDC_ADJ_NTP_TEST,
                   IDC_ADJ_NTP_PORT_LABEL, IDC_ADJ_NTP_PORT, IDC_ADJ_NTP_PORT_UPDOWN, IDC_ADJ_NTP_PORT_UNIT,
                   IDC_ADJ_NTP_TIMEOUT_LABEL, IDC_ADJ_NTP_TIMEOUT, IDC_ADJ_NTP_TIMEOUT_UPDOWN, IDC_ADJ_NTP_TIMEOUT_UNIT,
                   IDC_ADJ_NTP_OFFSET_LABEL, IDC_ADJ_NTP_OFFSET, IDC_ADJ_NTP_OFFSET_UPDOWN, IDC_ADJ_NTP_OFFSET_UNIT},
                  r.NtpShown);
        page.Show({IDC_ADJ_HTTP_LABEL, IDC_ADJ_HTTP, IDC_ADJ_HTTP_ADD, IDC_ADJ_HTTP_DELETE, IDC_ADJ_HTTP_TEST,
                   IDC_ADJ_PROXY_LABEL, IDC_ADJ_PROXY, IDC_ADJ_PROXY_PORT_LABEL, IDC_ADJ_PROXY_PORT,
                   IDC_ADJ_PROXY_PORT_UPDOWN, IDC_ADJ_HTTP_TIMEOUT_LABEL, IDC_ADJ_HTTP_TIMEOUT,
                   IDC_ADJ_HTTP_TIMEOUT_UPDOWN, IDC_ADJ_HTTP_TIMEOUT_UNIT, IDC_ADJ_HTTP_OFFSET_LABEL,
                   IDC_ADJ_HTTP_OFFSET, IDC_ADJ_HTTP_OFFSET_UPDOWN, IDC_ADJ_HTTP_OFFSET_UNIT},
                  r.HttpShown);
        page.Show({IDC_ADJ_KIT_PORT_LABEL, IDC_ADJ_KIT_PORT, IDC_ADJ_KIT_TEST, IDC_ADJ_KIT_TIMEOUT_LABEL,
                   IDC_ADJ_KIT_TIMEOUT, IDC_ADJ_KIT_TIMEOUT_UPDOWN, IDC_ADJ_KIT_TIMEOUT_UNIT, IDC_ADJ_KIT_OFFSET_LABEL,
                   IDC_ADJ_KIT_OFFSET, IDC_ADJ_KIT_OFFSET_UPDOWN, IDC_ADJ_KIT_OFFSET_UNIT},
                  r.KitShown);
        page.Show({IDC_ADJ_BOOT, IDC_ADJ_AUTO, IDC_ADJ_INTERVAL_LABEL, IDC_ADJ_INTERVAL, IDC_ADJ_INTERVAL_UPDOWN,
                   IDC_ADJ_INTERVAL_UNIT, IDC_ADJ_MESSAGE, IDC_ADJ_SOUND, IDC_ADJ_SOUND_FILE, IDC_ADJ_SOUND_BROWSE,
                   IDC_ADJ_SOUND_PREVIEW},
                  r.CommonShown);
        page.Enable({IDC_ADJ_INTERVAL_LABEL, IDC_ADJ_INTERVAL, IDC_ADJ_INTERVAL_UPDOWN, IDC_ADJ_INTERVAL_UNIT},
                    r.IntervalEnabled);
        page.Enable({IDC_ADJ_MESSAGE}, r.MessageEnabled);
        page.Enable({IDC_ADJ_SOUND_FILE, IDC_ADJ_SOUND_BROWSE}, r.SoundEnabled);
        page.Enable({IDC_ADJ_SOUND_PREVIEW}, r.SoundPreviewEnabled);
        EnableServerButtons(page, r.Ntp, IDC_ADJ_NTP_TEST, IDC_ADJ_NTP_ADD, IDC_ADJ_NTP_DELETE);
        EnableServerButtons(page, r.Http, IDC_ADJ_HTTP_TEST, IDC_ADJ_HTTP_ADD, IDC_ADJ_HTTP_DELETE);
        page.Enable({IDC_ADJ_KIT_TEST}, a.Port >= 0);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        auto& a = values.Adjust;
        if (id == IDC_ADJ_METHOD && code == CBN_SELCHANGE) {
            return MethodChosen(page, a, actions);
        }
        // While the box reports a new entry its edit still shows the previous text: the
        // chosen entry is the server from now on.
        if (code == CBN_SELCHANGE && (id == IDC_ADJ_NTP || id == IDC_ADJ_HTTP)) {
            if (std::wstring chosen; ChosenEntry(GetDlgItem(page, id), chosen)) {
                (id == IDC_ADJ_NTP ? a.NtpServer : a.HttpServer) = std::move(chosen);
            }
            return false;
        }
        if (code != BN_CLICKED) {
            return false;
        }
        switch (id) {
        case IDC_ADJ_NTP_ADD:
            return AddServer(page, IDC_ADJ_NTP, a.NtpServers, a.NtpServer, actions);
        case IDC_ADJ_NTP_DELETE:
            return DeleteServer(page, IDC_ADJ_NTP, a.NtpServers, a.NtpServer, actions);
        case IDC_ADJ_NTP_TEST:
            actions.TestAdjust(AdjustPage::MethodNtp, a);
            return true;
        case IDC_ADJ_HTTP_ADD:
            return AddServer(page, IDC_ADJ_HTTP, a.HttpServers, a.HttpServer, actions);
        case IDC_ADJ_HTTP_DELETE:
            return DeleteServer(page, IDC_ADJ_HTTP, a.HttpServers, a.HttpServer, actions);
        case IDC_ADJ_HTTP_TEST:
            actions.TestAdjust(AdjustPage::MethodHttp, a);
            return true;
        case IDC_ADJ_KIT_TEST:
            actions.TestAdjust(AdjustPage::MethodKit, a);
            return true;
        case IDC_ADJ_SOUND_BROWSE:
            return PickFileInto(page, FileKind::Sound, a.SoundFile, actions);
        case IDC_ADJ_SOUND_PREVIEW:
            return Preview(page, id, a.SoundFile, actions);
        default:
            return false;
        }
    }

private:
    // A server box: its entries are the page's list, its text the chosen server. An entry is
    // selected only when it is exactly the text, so the text keeps the case it was given.
    static void ExchangeServers(PageControls& page, int id, const std::vector<std::wstring>& servers,
                                std::wstring& text) {
        if (!page.Loading()) {
            text = page.GetText(id);
            return;
        }
        if (Entries(page.Item(id)) != servers) {
            page.FillChoices(id, servers);
        }
        page.SetText(id, text);
        const auto exact = std::find(servers.begin(), servers.end(), text);
        if (exact != servers.end()) {
            SendDlgItemMessageW(page.Page(), id, CB_SETCURSEL, static_cast<WPARAM>(exact - servers.begin()), 0);
        }
    }

    static std::vector<std::wstring> Entries(HWND box) {
        std::vector<std::wstring> entries;
        const auto count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const auto length = static_cast<int>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0));
            std::wstring entry(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
            SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
            entry.resize(wcslen(entry.c_str()));
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    static bool ChosenEntry(HWND box, std::wstring& text) {
        const auto selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        const auto length = static_cast<int>(SendMessageW(box, CB_GETLBTEXTLEN, selected, 0));
        if (selected < 0 || length < 0) {
            return false;
        }
        text.assign(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(box, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        return true;
    }

    static void EnableServerButtons(PageControls& page, ServerButtons buttons, int test, int add, int remove) {
        page.Enable({test}, buttons.Test);
        page.Enable({add}, buttons.Add);
        page.Enable({remove}, buttons.Delete);
    }

    // The radio clock needs a serial port; without one the previous method comes back.
    bool MethodChosen(HWND page, AdjustPage& a, OptionActions& actions) {
        if (AdjustPage::MethodAllowed(a.Method, !a.Ports.empty())) {
            acceptedMethod_ = a.Method;
            return false;
        }
        ShowResourceMessage(OptionDialogOf(page), IDS_NO_SERIAL_PORT, MB_OK | MB_ICONERROR);
        a.Method = acceptedMethod_;
        actions.Refused();
        return true;
    }

    static bool AddServer(HWND page, int boxId, std::vector<std::wstring>& servers, const std::wstring& text,
                          OptionActions& actions) {
        if (ShowResourceMessage(OptionDialogOf(page), IDS_ASK_ADD_SERVER, MB_YESNO | MB_ICONQUESTION, {text}) ==
            IDYES) {
            servers.push_back(text);
            actions.Changed();
            SetFocus(GetDlgItem(page, boxId));
        }
        return true;
    }

    static bool DeleteServer(HWND page, int boxId, std::vector<std::wstring>& servers, std::wstring& text,
                             OptionActions& actions) {
        HWND box = GetDlgItem(page, boxId);
        const auto selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
        if (ShowResourceMessage(OptionDialogOf(page), IDS_ASK_DELETE_SERVER, MB_YESNO | MB_ICONQUESTION, {text}) !=
            IDYES) {
            return true;
        }
        if (const auto next = AdjustPage::DeleteServer(servers, selected, text)) {
            text = *next >= 0 ? servers[static_cast<size_t>(*next)] : std::wstring();
            actions.Changed();
        }
        SetFocus(box);
        return true;
    }

    int acceptedMethod_ = 0;
};

// Page 14 "起動".
class BootView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_OPTION_BOOT; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        static constexpr std::array<std::wstring_view, 6> allPriorities{
            L"低い", L"通常より低い", L"通常", L"通常より高い", L"高い", L"リアルタイム"};
        static constexpr std::array<std::wstring_view, 2> locations{L"Lumora と同じフォルダ",
                                                                    L"Application Data フォルダ"};
        layered_ = facts.Boot.LayeredWindowsAvailable;
        // Without layered windows some classes are not offered; each entry keeps its class's name.
        priorities_.clear();
        for (int entry = 0; entry < PriorityEntryCount(layered_); ++entry) {
            const int full = PriorityEntryOfClass(PriorityClassOfEntry(entry, layered_), true);
            priorities_.emplace_back(allPriorities[static_cast<size_t>(full)]);
        }
        page.FillChoices(IDC_BOOT_PRIORITY, priorities_);
        page.FillChoices(IDC_BOOT_LOCATION, locations);
        page.NumberField(IDC_BOOT_DELAY_VALUE, IDC_BOOT_DELAY_UPDOWN, {100, 60000}, 5, 100);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& b = values.Boot;
        page.Check(IDC_BOOT_STARTUP, b.StartUp);
        page.Check(IDC_BOOT_SPLASH, b.Splash);
        page.Check(IDC_BOOT_DELAY, b.Delay);
        page.UpDownPosition(IDC_BOOT_DELAY_UPDOWN, b.DelayPosition); // first: it writes its field
        page.Text(IDC_BOOT_DELAY_VALUE, b.DelayValue);
        page.Check(IDC_BOOT_NO_CHECK_DUPLICATE, b.NoCheckDuplicate);
        page.Choice(IDC_BOOT_PRIORITY, b.Priority);
        page.Choice(IDC_BOOT_LOCATION, b.Location);
        if (page.Loading()) {
            acceptedPriority_ = b.Priority;
            acceptedLocation_ = b.Location;
        }
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        page.Enable({IDC_BOOT_DELAY_LABEL, IDC_BOOT_DELAY_VALUE, IDC_BOOT_DELAY_UPDOWN, IDC_BOOT_DELAY_UNIT},
                    values.Boot.Evaluate().DelayValueEnabled);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        auto& b = values.Boot;
        if (id == IDC_BOOT_STARTUP && code == BN_CLICKED) {
            b.StartUpClicked = true; // Apply then makes or removes the shortcut, even when clicked back
            return false;
        }
        if (code != CBN_SELCHANGE) {
            return false;
        }
        if (id == IDC_BOOT_PRIORITY) {
            return PriorityChosen(page, b, actions);
        }
        if (id == IDC_BOOT_LOCATION) {
            if (b.Location == 1 && acceptedLocation_ != 1 && !actions.AcceptSettingsLocation(true)) {
                b.Location = acceptedLocation_;
                actions.Refused();
                return true;
            }
            acceptedLocation_ = b.Location;
        }
        return false;
    }

private:
    // High and real time are asked for first; No brings the previous entry back.
    bool PriorityChosen(HWND page, BootPage& b, OptionActions& actions) {
        const bool offered = b.Priority >= 0 && b.Priority < static_cast<int>(priorities_.size());
        if (offered && b.Priority != acceptedPriority_ &&
            PriorityNeedsConfirmation(PriorityClassOfEntry(b.Priority, layered_)) &&
            ShowResourceMessage(OptionDialogOf(page), IDS_ASK_PRIORITY_CLASS, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
                                {priorities_[static_cast<size_t>(b.Priority)]}) != IDYES) {
            b.Priority = acceptedPriority_;
            actions.Refused();
            return true;
        }
        acceptedPriority_ = b.Priority;
        return false;
    }

    bool layered_ = true;
    std::vector<std::wstring> priorities_;
    int acceptedPriority_ = 0;
    int acceptedLocation_ = 0;
};

// Page 15 "おまけ".
class OmakeView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_OPTION_OMAKE; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        static constexpr std::array<std::wstring_view, 2> sides{L"左側", L"右側"};
        page.FillChoices(IDC_OMK_LOGO_POSITION, sides);
        page.FillChoices(IDC_OMK_CALL_SIGN_POSITION, sides);
        page.LimitText(IDC_OMK_LOGO_FILE, 255);
        page.LimitText(IDC_OMK_STATION_NAME, 32);
        page.LimitText(IDC_OMK_PARENT_BUREAU, 32);
        page.LimitText(IDC_OMK_CALL_SIGN_TEXT, 4);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& o = values.Omake;
        page.Check(IDC_OMK_OMAKE, o.Omake);
        page.Check(IDC_OMK_LOGO, o.Logo);
        page.Text(IDC_OMK_LOGO_FILE, o.LogoFile);
        page.Choice(IDC_OMK_LOGO_POSITION, o.LogoPosition);
        page.Check(IDC_OMK_CALL_SIGN, o.CallSign);
        page.Choice(IDC_OMK_CALL_SIGN_POSITION, o.CallSignPosition);
        page.Check(IDC_OMK_TEST_PATTERN, o.TestPattern);
        page.Text(IDC_OMK_STATION_NAME, o.StationName);
        page.Text(IDC_OMK_PARENT_BUREAU, o.ParentBureau);
        page.Text(IDC_OMK_CHANNEL, o.Channel);
        page.Text(IDC_OMK_CALL_SIGN_TEXT, o.CallSignText);
        page.Check(IDC_OMK_DIGITAL_MASTER, o.DigitalMaster);
        page.Check(IDC_OMK_TESTING_WAVE, o.TestingWave);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto r = values.Omake.Evaluate();
        page.Enable({IDC_OMK_LOGO_FILE_LABEL, IDC_OMK_LOGO_FILE, IDC_OMK_LOGO_BROWSE, IDC_OMK_LOGO_POSITION_LABEL,
                     IDC_OMK_LOGO_POSITION},
                    r.LogoEnabled);
        page.Enable({IDC_OMK_CALL_SIGN_POSITION_LABEL, IDC_OMK_CALL_SIGN_POSITION}, r.CallSignPositionEnabled);
        // Digital channels take three digits, analogue ones two.
        if (r.ChannelDigits != channelDigits_) {
            page.NumberField(IDC_OMK_CHANNEL, IDC_OMK_CHANNEL_UPDOWN, r.ChannelRange, r.ChannelDigits);
            channelDigits_ = r.ChannelDigits;
        }
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        if (id != IDC_OMK_LOGO_BROWSE || code != BN_CLICKED) {
            return false;
        }
        return PickFileInto(page, FileKind::Image, values.Omake.LogoFile, actions);
    }

private:
    int channelDigits_ = 0;
};

} // namespace

void AddTopLevelPageViews(std::vector<std::unique_ptr<OptionPageView>>& views) {
    views.push_back(std::make_unique<OperationView>());
    views.push_back(std::make_unique<CuckooView>());
    views.push_back(std::make_unique<AdjustView>());
    views.push_back(std::make_unique<BootView>());
    views.push_back(std::make_unique<OmakeView>());
}

} // namespace lumora
