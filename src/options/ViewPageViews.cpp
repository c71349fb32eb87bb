#include "adjust/SystemClock.h"
#include "clock/SystemFacts.h"
#include "options/OptionPageView.h"
#include "options/ViewPagesRes.h"
#include "options/VisibleHoursView.h"
#include "clock/SystemFigures.h"
#include "tools/WindowFinderForm.h"

#include <commctrl.h>

#include <array>
#include <string_view>

namespace lumora {
namespace {

constexpr std::array<std::wstring_view, 9> EffectEntries{
    L"切り替え効果なし", L"水平回転", L"垂直回転",        L"せり上がり",      L"せり下がり",
    L"押し上げ",         L"押し下げ", L"クロス フェード", L"カット フェード",
};
constexpr std::array<std::wstring_view, 4> FlashColonEntries{
    L"点滅しない",
    L"500 ミリ秒ごとに点滅",
    L"250 ミリ秒間点灯",
    L"1 秒ごとに点滅",
};
constexpr std::array<std::wstring_view, 3> ToolTipStyleEntries{L"表示しない", L"四角形", L"フキダシ型"};

std::wstring EntryText(HWND box, LRESULT index) {
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

// A format box is an editable combo box over the date patterns. It shows the stored text and
// selects the entry equal to it; read back, a selected entry counts, because while the box
// reports a new selection its edit still shows the previous text.
void ExchangeFormat(PageControls& page, int id, std::wstring& format) {
    HWND box = page.Item(id);
    if (page.Loading()) {
        page.Text(id, format);
        const LRESULT found =
            SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(format.c_str()));
        if (found != CB_ERR && EntryText(box, found) == format) {
            SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        }
        return;
    }
    const LRESULT selected = SendMessageW(box, CB_GETCURSEL, 0, 0);
    format = selected != CB_ERR ? EntryText(box, selected) : page.GetText(id);
}

// The current time through the tooltip format language, as the tooltips will show it.
class FormatPreview {
public:
    void Prepare(PageControls& page, int boxId) {
        page.FillChoices(boxId, std::span<const std::wstring_view>(ToolTipDatePatterns));
        page.LimitText(boxId, ToolTipPage::MaxFormatLength);
        locale_ = ReadLocaleFacts();
    }

    void Refresh(PageControls& page, int panelId, const std::wstring& format) const {
        page.SetText(panelId, ExpandFormatNow(format, LocalNow(), locale_));
    }

    // Enabled, the panel has the colours of a tooltip; disabled, the page's with grey text.
    static HBRUSH Colour(HDC dc, HWND panel) {
        const bool enabled = IsWindowEnabled(panel) != FALSE;
        const int background = enabled ? COLOR_INFOBK : COLOR_3DFACE;
        SetTextColor(dc, GetSysColor(enabled ? COLOR_INFOTEXT : COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(background));
        return GetSysColorBrush(background);
    }

private:
    LocaleFacts locale_;
};

void SetTickFrequency(PageControls& page, int id, int frequency) {
    SendMessageW(page.Item(id), TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

bool Clicked(int code) {
    return code == BN_CLICKED;
}

// Page 4 "表示|表示時間": the visible-hours editor, and the temporary-showing fields at the
// foot of the page.
class VisibleTimePageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_TIME; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        PrepareVisibleHours(page);
        page.NumberField(IDC_AUTOHIDE_EDIT, IDC_AUTOHIDE_UPDOWN, VisibleTimePage::TimeRange, 2);
        page.NumberField(IDC_AUTOHIDE_TIMING_EDIT, IDC_AUTOHIDE_TIMING_UPDOWN, VisibleTimePage::TimingRange, 7);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        ExchangeVisibleHours(page, values.VisibleTime.Hours);
        page.Text(IDC_AUTOHIDE_EDIT, values.VisibleTime.AutoHideTime);
        page.Text(IDC_AUTOHIDE_TIMING_EDIT, values.VisibleTime.AutoHideTiming);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        page.Enable({IDC_AUTOHIDE_GROUP, IDC_AUTOHIDE_LABEL, IDC_AUTOHIDE_EDIT, IDC_AUTOHIDE_UPDOWN, IDC_AUTOHIDE_UNIT,
                     IDC_AUTOHIDE_TIMING_LABEL, IDC_AUTOHIDE_TIMING_EDIT, IDC_AUTOHIDE_TIMING_UPDOWN,
                     IDC_AUTOHIDE_TIMING_UNIT},
                    values.VisibleTime.Evaluate().TemporaryGroupEnabled);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        return VisibleHoursCommand(page, id, code, values.VisibleTime.Hours, actions);
    }

    bool Notify(HWND page, const NMHDR& header, OptionValues& values, OptionActions&) override {
        return VisibleHoursNotify(page, header, values.VisibleTime.Hours);
    }

    bool DrawItem(const DRAWITEMSTRUCT& item) override { return DrawMinuteBox(item); }
};

// Page 5 "表示|視覚効果".
class EffectsPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_EFFECTS; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        const auto offered = static_cast<size_t>(EffectsPage::EffectEntryCount(facts.Display));
        page.FillChoices(IDC_ANIMATION_COMBO, std::span<const std::wstring_view>(EffectEntries).first(offered));
        page.FillChoices(IDC_FLASH_COLON_COMBO, std::span<const std::wstring_view>(FlashColonEntries));
        page.SliderRange(IDC_ANIMATION_SPEED_TRACK, 0, EffectsPage::MaxSpeed);
        SetTickFrequency(page, IDC_ANIMATION_SPEED_TRACK, 10);
        page.NumberField(IDC_ANIMATION_TIMING_EDIT, IDC_ANIMATION_TIMING_UPDOWN, EffectsPage::TimingRange, 5);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& e = values.Effects;
        page.Choice(IDC_ANIMATION_COMBO, e.Effect);
        page.Slider(IDC_ANIMATION_SPEED_TRACK, e.Speed);
        page.Text(IDC_ANIMATION_TIMING_EDIT, e.Timing);
        page.Choice(IDC_FLASH_COLON_COMBO, e.FlashColon);
        page.Check(IDC_REVERSE_FLASH_CHECK, e.ReverseFlash);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto rules = values.Effects.Evaluate();
        page.Enable({IDC_ANIMATION_SPEED_LABEL, IDC_ANIMATION_SPEED_TRACK, IDC_ANIMATION_SPEED_FAST,
                     IDC_ANIMATION_SPEED_SLOW, IDC_ANIMATION_TIMING_LABEL, IDC_ANIMATION_TIMING_EDIT,
                     IDC_ANIMATION_TIMING_UPDOWN, IDC_ANIMATION_TIMING_UNIT},
                    rules.SpeedAndTimingEnabled);
        page.Enable({IDC_REVERSE_FLASH_CHECK}, rules.ReverseFlashEnabled);
    }
};

// Page 6 "表示|ツールチップ".
class ToolTipPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_TOOLTIP; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        page.FillChoices(IDC_TOOLTIP_COMBO, std::span<const std::wstring_view>(ToolTipStyleEntries));
        page.NumberField(IDC_TOOLTIP_TIME_EDIT, IDC_TOOLTIP_TIME_UPDOWN, ToolTipPage::TimeRange, 5, 1000);
        preview_.Prepare(page, IDC_TOOLTIP_FORMAT_COMBO);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        page.Choice(IDC_TOOLTIP_COMBO, values.ToolTip.Style);
        page.Text(IDC_TOOLTIP_TIME_EDIT, values.ToolTip.Time);
        ExchangeFormat(page, IDC_TOOLTIP_FORMAT_COMBO, values.ToolTip.Format);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        page.Enable({IDC_TOOLTIP_TIME_LABEL, IDC_TOOLTIP_TIME_EDIT, IDC_TOOLTIP_TIME_UPDOWN, IDC_TOOLTIP_TIME_UNIT,
                     IDC_TOOLTIP_FORMAT_LABEL, IDC_TOOLTIP_FORMAT_COMBO, IDC_TOOLTIP_PREVIEW_LABEL,
                     IDC_TOOLTIP_PREVIEW},
                    values.ToolTip.Evaluate().TimeAndFormatEnabled);
        preview_.Refresh(page, IDC_TOOLTIP_PREVIEW, values.ToolTip.Format);
    }

    HBRUSH ControlColour(HDC dc, HWND control) override {
        return GetDlgCtrlID(control) == IDC_TOOLTIP_PREVIEW ? FormatPreview::Colour(dc, control) : nullptr;
    }

private:
    FormatPreview preview_;
};

// Page 7 "表示|タスク トレイ".
class TrayPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_TRAY; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        preview_.Prepare(page, IDC_TRAY_FORMAT_COMBO);
        page.FillChoices(IDC_CALENDAR_FONT_COMBO, facts.Fonts.Families);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& t = values.Tray;
        page.Check(IDC_TRAY_ICON_CHECK, t.ShowIcon);
        page.Check(IDC_TRAY_HIDE_CLOCK_CHECK, t.HideTaskbarClock);
        ExchangeFormat(page, IDC_TRAY_FORMAT_COMBO, t.Format);
        page.Check(IDC_CALENDAR_CHECK, t.ShowCalendar);
        page.ChoiceText(IDC_CALENDAR_FONT_COMBO, t.CalendarFont);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts& facts) override {
        const auto rules = values.Tray.Evaluate(facts.Facts.Tray);
        page.Enable({IDC_TRAY_HIDE_CLOCK_CHECK}, rules.HideClockEnabled);
        page.Show({IDC_TRAY_HIDE_CLOCK_NOTE}, !rules.HideClockEnabled);
        page.Enable({IDC_TRAY_TIP_GROUP, IDC_TRAY_FORMAT_LABEL, IDC_TRAY_FORMAT_COMBO, IDC_TRAY_PREVIEW_LABEL,
                     IDC_TRAY_PREVIEW},
                    rules.ToolTipGroupEnabled);
        page.Enable({IDC_CALENDAR_GROUP, IDC_CALENDAR_CHECK}, rules.CalendarGroupEnabled);
        page.Enable({IDC_CALENDAR_FONT_LABEL, IDC_CALENDAR_FONT_COMBO}, rules.CalendarFontEnabled);
        preview_.Refresh(page, IDC_TRAY_PREVIEW, values.Tray.Format);
    }

    HBRUSH ControlColour(HDC dc, HWND control) override {
        return GetDlgCtrlID(control) == IDC_TRAY_PREVIEW ? FormatPreview::Colour(dc, control) : nullptr;
    }

private:
    FormatPreview preview_;
};

// Page 8 "表示|配置": the windows in front of which the clock does not come forward. The list
// holds no edits of its own: it shows the page's rows and is rebuilt when they change.
class WindowsPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_WINDOWS; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        HWND list = page.Item(IDC_IGNORE_LIST);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        RECT client{};
        GetClientRect(list, &client);
        const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
        AddColumn(list, 0, L"ウィンドウ タイトル", width * 3 / 5);
        AddColumn(list, 1, L"クラス名", width - width * 3 / 5);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        // Rebuilding only what changed keeps the user's selection across reloads of the page.
        if (page.Loading() && values.Windows.Windows != shown_) {
            Fill(page.Item(IDC_IGNORE_LIST), values.Windows.Windows);
        }
    }

    void ApplyRules(PageControls& page, const OptionValues&, const OptionPageFacts&) override {
        UpdateRemove(page.Page());
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        if ((id == IDC_IGNORE_ADD || id == IDC_IGNORE_EDIT) && Clicked(code)) {
            return Find(page, id == IDC_IGNORE_EDIT, values, actions);
        }
        if (id != IDC_IGNORE_REMOVE || !Clicked(code)) {
            return false;
        }
        HWND list = GetDlgItem(page, IDC_IGNORE_LIST);
        std::vector<int> rows;
        for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
             row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
            rows.push_back(row);
        }
        if (rows.empty()) {
            return false;
        }
        const int selected = values.Windows.RemoveRows(std::move(rows));
        Fill(list, values.Windows.Windows);
        if (selected >= 0) {
            ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list, selected, FALSE);
        }
        if (GetFocus() == GetDlgItem(page, IDC_IGNORE_REMOVE) && selected < 0) {
            // The button is about to be disabled: the focus goes to the list rather than nowhere.
            SendMessageW(OptionDialogOf(page), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        }
        UpdateRemove(page);
        actions.Changed();
        return true;
    }

    bool Notify(HWND page, const NMHDR& header, OptionValues& values, OptionActions& actions) override {
        if (header.idFrom == IDC_IGNORE_LIST && header.code == LVN_ITEMCHANGED) {
            UpdateRemove(page);
        }
        // A double click on a selected row edits it, as 編集(&E)... does.
        if (header.idFrom == IDC_IGNORE_LIST && header.code == NM_DBLCLK) {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (click.iItem >= 0 && ListView_GetItemState(header.hwndFrom, click.iItem, LVIS_SELECTED) != 0) {
                return Find(page, true, values, actions);
            }
        }
        return false;
    }

private:
    static void AddColumn(HWND list, int index, const wchar_t* caption, int width) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(caption);
        column.cx = width;
        column.iSubItem = index;
        ListView_InsertColumn(list, index, &column);
    }

    void Fill(HWND list, const std::vector<IgnoredWindow>& windows) {
        ListView_DeleteAllItems(list);
        int row = 0;
        for (const IgnoredWindow& window : windows) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<wchar_t*>(window.Title.c_str());
            ListView_InsertItem(list, &item);
            ListView_SetItemText(list, row, 1, const_cast<wchar_t*>(window.ClassName.c_str()));
            ++row;
        }
        shown_ = windows;
    }

    static void UpdateRemove(HWND page) {
        const UINT selected = ListView_GetSelectedCount(GetDlgItem(page, IDC_IGNORE_LIST));
        EnableWindow(GetDlgItem(page, IDC_IGNORE_REMOVE), selected > 0 ? TRUE : FALSE);
        EnableWindow(GetDlgItem(page, IDC_IGNORE_EDIT), selected == 1 ? TRUE : FALSE);
    }

    // 登録(&R)... appends what the finder names; 編集(&E)... changes the one selected row. The
    // finder checks a new entry against the rows, from the selected row on.
    bool Find(HWND page, bool editing, OptionValues& values, OptionActions& actions) {
        HWND list = GetDlgItem(page, IDC_IGNORE_LIST);
        auto& windows = values.Windows.Windows;
        const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        if (editing && (ListView_GetSelectedCount(list) != 1 || selected >= static_cast<int>(windows.size()))) {
            return false;
        }
        WindowFinderRequest request{editing, {}, {}, windows, selected};
        if (editing) {
            request.Title = windows[static_cast<size_t>(selected)].Title;
            request.ClassName = windows[static_cast<size_t>(selected)].ClassName;
        }
        if (!actions.FindWindowEntry(OptionDialogOf(page), request)) {
            return true;
        }
        IgnoredWindow entry{std::move(request.Title), std::move(request.ClassName)};
        const int row = editing ? selected : static_cast<int>(windows.size());
        if (editing) {
            windows[static_cast<size_t>(row)] = std::move(entry);
        } else {
            windows.push_back(std::move(entry));
        }
        Fill(list, windows);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, row, FALSE);
        UpdateRemove(page);
        actions.Changed();
        return true;
    }

    std::vector<IgnoredWindow> shown_;
};

// Page 9 "表示|テロップ".
class TelopPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_TELOP; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        page.FillChoices(IDC_TELOP_FONT_COMBO, facts.Fonts.Families);
        page.LimitText(IDC_TELOP_TITLE_EDIT, TelopPage::MaxTitleLength);
        page.SliderRange(IDC_TELOP_CHANGE_SPEED_TRACK, TelopPage::ChangeSpeedRange.Min, TelopPage::ChangeSpeedRange.Max,
                         500);
        SetTickFrequency(page, IDC_TELOP_CHANGE_SPEED_TRACK, 500);
        page.SliderRange(IDC_TELOP_SCROLL_SPEED_TRACK, TelopPage::ScrollSpeedRange.Min,
                         TelopPage::ScrollSpeedRange.Max);
        SetTickFrequency(page, IDC_TELOP_SCROLL_SPEED_TRACK, 25);
        page.NumberField(IDC_TELOP_FLASH_COUNT_EDIT, IDC_TELOP_FLASH_COUNT_UPDOWN, TelopPage::FlashCountRange, 2);
        page.SliderRange(IDC_TELOP_FLASH_SPEED_TRACK, TelopPage::FlashSpeedRange.Min, TelopPage::FlashSpeedRange.Max);
        SetTickFrequency(page, IDC_TELOP_FLASH_SPEED_TRACK, 100);
        page.LimitText(IDC_TELOP_SOUND_EDIT, 255);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        auto& t = values.Telop;
        page.ChoiceText(IDC_TELOP_FONT_COMBO, t.FontName);
        page.Text(IDC_TELOP_TITLE_EDIT, t.Title);
        page.Slider(IDC_TELOP_CHANGE_SPEED_TRACK, t.ChangeSpeed);
        page.Check(IDC_TELOP_SCROLL_CHECK, t.Scroll);
        page.Slider(IDC_TELOP_SCROLL_SPEED_TRACK, t.ScrollSpeed);
        page.Check(IDC_TELOP_FLASH_CHECK, t.Flash);
        page.Text(IDC_TELOP_FLASH_COUNT_EDIT, t.FlashCount);
        page.Slider(IDC_TELOP_FLASH_SPEED_TRACK, t.FlashSpeed);
        page.Check(IDC_TELOP_SOUND_CHECK, t.Sound);
        page.Text(IDC_TELOP_SOUND_EDIT, t.SoundFile);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const auto rules = values.Telop.Evaluate();
        page.Enable({IDC_TELOP_SCROLL_SPEED_LABEL, IDC_TELOP_SCROLL_SPEED_TRACK}, rules.ScrollSpeedEnabled);
        page.Enable({IDC_TELOP_FLASH_COUNT_LABEL, IDC_TELOP_FLASH_COUNT_EDIT, IDC_TELOP_FLASH_COUNT_UPDOWN,
                     IDC_TELOP_FLASH_COUNT_UNIT, IDC_TELOP_FLASH_SPEED_LABEL, IDC_TELOP_FLASH_SPEED_TRACK},
                    rules.FlashEnabled);
        page.Enable({IDC_TELOP_SOUND_EDIT, IDC_TELOP_SOUND_BROWSE}, rules.SoundEnabled);
        page.Enable({IDC_TELOP_SOUND_PREVIEW}, rules.PreviewEnabled);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        if (!Clicked(code)) {
            return false;
        }
        std::wstring& file = values.Telop.SoundFile;
        if (id == IDC_TELOP_SOUND_BROWSE) {
            return PickFileInto(page, FileKind::Sound, file, actions, PickChange::OtherFile);
        }
        if (id == IDC_TELOP_SOUND_PREVIEW) {
            actions.Preview(GetDlgItem(page, id), file);
            return true;
        }
        return false;
    }
};

// Page 10 "表示|メニュー".
class MenuPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_VIEW_MENU; }

    void Prepare(PageControls&, const OptionFacts&) override {}

    void Exchange(PageControls& page, OptionValues& values) override {
        page.Check(IDC_MENU_ICON_CHECK, values.Menu.MenuIcon);
        page.Check(IDC_MODERN_MENU_CHECK, values.Menu.ModernMenu);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        page.Enable({IDC_MODERN_MENU_CHECK}, values.Menu.Evaluate().ModernMenuEnabled);
    }
};

} // namespace

void AddViewPageViews(std::vector<std::unique_ptr<OptionPageView>>& views) {
    views.push_back(std::make_unique<VisibleTimePageView>());
    views.push_back(std::make_unique<EffectsPageView>());
    views.push_back(std::make_unique<ToolTipPageView>());
    views.push_back(std::make_unique<TrayPageView>());
    views.push_back(std::make_unique<WindowsPageView>());
    views.push_back(std::make_unique<TelopPageView>());
    views.push_back(std::make_unique<MenuPageView>());
}

} // namespace lumora
