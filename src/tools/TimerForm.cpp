#include "tools/TimerForm.h"

#include "shell/AppNames.h"
#include "clock/DateTime.h"
#include "shell/DpiScale.h"
#include "shell/MessageBoxes.h"
#include "shell/Monitors.h"
#include "shell/UniqueHandle.h"
#include "tools/TimerFormRes.h"
#include "tools/TimerOperations.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace lumora {
namespace {

constexpr wchar_t PickerFormat[] = L"HH:mm.ss";
constexpr int MessageLimit = 1024;
constexpr UINT DetailsStepInterval = 10;

void AddStrings(HWND combo, UINT firstId, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring text = LoadResourceString(firstId + static_cast<UINT>(i));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int Selection(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

// The operation list holds only what the computer can do, so each entry carries its operation.
TimerOperation SelectedOperation(HWND combo) {
    const LRESULT data = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(std::max(0, Selection(combo))), 0);
    return data == CB_ERR ? TimerOperation::None : static_cast<TimerOperation>(data);
}

// The open dialog's OK button is captioned once the dialog stands.
UINT_PTR CALLBACK BrowseHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (notify->hdr.code == CDN_INITDONE) {
            const auto* caption = reinterpret_cast<const std::wstring*>(notify->lpOFN->lCustData);
            SendMessageW(GetParent(child), CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>(caption->c_str()));
        }
    }
    return 0;
}

} // namespace

std::unique_ptr<TTimerForm> TTimerForm::Create(HWND owner, TimerFormContext context) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls); // the duration picker's class
    std::unique_ptr<TTimerForm> form(new TTimerForm(std::move(context)));
    if (!form->CreateDialogForm(names::TimerFormClass, IDD_TIMER, owner)) {
        return nullptr;
    }
    ShowWindow(form->Handle(), SW_SHOW);
    return form;
}

LRESULT TTimerForm::OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_TIMER_TIME && header->code == DTN_DATETIMECHANGE) {
            DurationPicked();
            return 0;
        }
        break;
    }
    case WM_CONTEXTMENU:
        PresetMenu(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_TIMER:
        if (wParam == DetailsTimerId) {
            DetailsTimer();
            return 0;
        }
        break;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam));
        break; // the dialog manager scales the controls and the frame
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

// The two heights were measured at the DPI the dialog was made at.
void TTimerForm::DpiChanged(int dpi) {
    if (dpi <= 0 || dpi == dpi_) {
        return;
    }
    expandedHeight_ = ScaleBetweenDpi(expandedHeight_, dpi, dpi_);
    collapsedHeight_ = ScaleBetweenDpi(collapsedHeight_, dpi, dpi_);
    heightStep_ = std::max(1, 1500 / (expandedHeight_ - collapsedHeight_ + 10));
    dpi_ = dpi;
}

bool TTimerForm::OnInitDialog() {
    const TimerSettings settings = context_.CurrentSettings();
    const TimerChoices& choices = context_.Countdown->Choices();
    SendMessageW(Item(IDC_TIMER_TIME), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(PickerFormat));
    SetDuration(settings.Time);
    AddStrings(Item(IDC_TIMER_NOTIFY), IDS_TIMER_NOTIFY_FIRST, IDS_TIMER_NOTIFY_COUNT);
    SendMessageW(Item(IDC_TIMER_NOTIFY), CB_SETCURSEL, static_cast<WPARAM>(settings.NotifyType), 0);
    AddStrings(Item(IDC_TIMER_MESSAGE), IDS_TIMER_SUGGESTION_FIRST, IDS_TIMER_SUGGESTION_COUNT);
    SendMessageW(Item(IDC_TIMER_MESSAGE), CB_LIMITTEXT, MessageLimit, 0);
    SetWindowTextW(Item(IDC_TIMER_MESSAGE), choices.Message.c_str());
    power_ = ReadPowerCapabilities();
    for (const TimerOperation operation : TimerOperationList(power_, choices.Operation)) {
        const std::wstring text = LoadResourceString(IDS_TIMER_OPERATION_FIRST + static_cast<UINT>(operation));
        const auto index =
            SendMessageW(Item(IDC_TIMER_OPERATION), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(Item(IDC_TIMER_OPERATION), CB_SETITEMDATA, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(operation));
        if (operation == choices.Operation) {
            SendMessageW(Item(IDC_TIMER_OPERATION), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    SetDlgItemTextW(Handle(), IDC_TIMER_PROGRAM, settings.Program.c_str());
    CheckDlgButton(Handle(), IDC_TIMER_FORCE, choices.Force ? BST_CHECKED : BST_UNCHECKED);

    // The template holds the expanded dialog; collapsed, it ends where the option group begins.
    RECT window{}, client{}, group{};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(Item(IDC_TIMER_GROUP), &group);
    dpi_ = WindowDpi(Handle());
    expandedHeight_ = window.bottom - window.top;
    collapsedHeight_ = (group.top - window.top) + (window.bottom - client.bottom);
    heightStep_ = std::max(1, 1500 / (expandedHeight_ - collapsedHeight_ + 10));
    CheckDlgButton(Handle(), IDC_TIMER_DETAILS, settings.Option ? BST_CHECKED : BST_UNCHECKED);
    ResizeForDetails(false);

    if (context_.Countdown->Running()) {
        ShowRunning(context_.Countdown->Due() - context_.DisplayedNow());
    } else {
        ShowEditing();
    }
    loading_ = false;
    return true;
}

template <class Edit> void TTimerForm::ChangeSettings(Edit edit) {
    TimerSettings next = context_.CurrentSettings();
    edit(next);
    context_.ChangeSettings(next);
}

void TTimerForm::OnCommand(int id, int code) {
    const bool editing = !loading_ && !context_.Countdown->Running();
    TimerChoices& choices = context_.Countdown->Choices();
    switch (id) {
    case IDC_TIMER_START:
        StartButtonClick();
        break;
    case IDC_TIMER_DETAILS:
        DetailsButtonClick();
        break;
    case IDC_TIMER_BROWSE:
        BrowseButtonClick();
        break;
    case IDC_TIMER_NOTIFY:
        if (code == CBN_SELCHANGE && editing) {
            ChangeSettings([&](TimerSettings& timer) { timer.NotifyType = Selection(Item(IDC_TIMER_NOTIFY)); });
            ApplyRules();
        }
        break;
    case IDC_TIMER_MESSAGE:
        if (code == CBN_EDITCHANGE && editing) {
            choices.Message = WindowText(Item(IDC_TIMER_MESSAGE));
        } else if (code == CBN_SELCHANGE && editing) {
            // The edit field takes the chosen text only after this notification.
            const int index = Selection(Item(IDC_TIMER_MESSAGE));
            const auto length = SendMessageW(Item(IDC_TIMER_MESSAGE), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
            if (index >= 0 && length >= 0) {
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                SendMessageW(Item(IDC_TIMER_MESSAGE), CB_GETLBTEXT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text.data()));
                text.resize(static_cast<size_t>(length));
                choices.Message = std::move(text);
            }
        }
        break;
    case IDC_TIMER_OPERATION:
        if (code == CBN_SELCHANGE && editing) {
            choices.Operation = SelectedOperation(Item(IDC_TIMER_OPERATION));
            ApplyRules();
        }
        break;
    case IDC_TIMER_PROGRAM:
        if (code == EN_CHANGE && editing) {
            ChangeSettings([&](TimerSettings& timer) { timer.Program = WindowText(Item(IDC_TIMER_PROGRAM)); });
        }
        break;
    case IDC_TIMER_FORCE:
        if (code == BN_CLICKED && editing) {
            choices.Force = IsDlgButtonChecked(Handle(), IDC_TIMER_FORCE) == BST_CHECKED;
        }
        break;
    default:
        if (id >= IDM_TIMER_PRESET_FIRST && id < IDM_TIMER_PRESET_FIRST + static_cast<int>(TimerPresets.size()) &&
            editing) {
            SetDuration(PresetDuration(TimerPresets[static_cast<size_t>(id - IDM_TIMER_PRESET_FIRST)].Minutes));
            ApplyRules();
        }
        break;
    }
}

void TTimerForm::StartButtonClick() {
    CountdownTimer& countdown = *context_.Countdown;
    if (countdown.Running()) {
        if (const auto left = countdown.Stop(context_.DisplayedNow())) {
            SetDuration(*left);
        }
        ShowEditing();
        return;
    }
    const double duration = PickerDuration();
    if (!TimerCanStart(duration)) {
        return;
    }
    countdown.Choices().Message = WindowText(Item(IDC_TIMER_MESSAGE));
    countdown.Start(context_.DisplayedNow(), duration);
    ShowRunning(duration);
}

void TTimerForm::ShowRemaining(double remaining) {
    const std::wstring text = CountdownText(remaining);
    if (WindowText(Item(IDC_TIMER_REMAINING)) != text) {
        SetDlgItemTextW(Handle(), IDC_TIMER_REMAINING, text.c_str());
    }
}

void TTimerForm::CountdownEnded() {
    ShowEditing();
}

void TTimerForm::ShowEditing() {
    SetDlgItemTextW(Handle(), IDC_TIMER_TIME_LABEL, LoadResourceString(IDS_TIMER_TIME_LABEL).c_str());
    SetDlgItemTextW(Handle(), IDC_TIMER_START, LoadResourceString(IDS_TIMER_START).c_str());
    ShowWindow(Item(IDC_TIMER_REMAINING), SW_HIDE);
    ShowWindow(Item(IDC_TIMER_TIME), SW_SHOWNA);
    ApplyRules();
}

void TTimerForm::ShowRunning(double remaining) {
    SetDlgItemTextW(Handle(), IDC_TIMER_TIME_LABEL, LoadResourceString(IDS_TIMER_REMAINING_LABEL).c_str());
    SetDlgItemTextW(Handle(), IDC_TIMER_START, LoadResourceString(IDS_TIMER_STOP).c_str());
    ShowRemaining(remaining);
    ShowWindow(Item(IDC_TIMER_TIME), SW_HIDE);
    ShowWindow(Item(IDC_TIMER_REMAINING), SW_SHOWNA);
    ApplyRules();
}

// Enabled while no countdown runs, each as its choices allow; the option group's rows show only
// while the details are expanded.
void TTimerForm::ApplyRules() {
    const bool running = context_.Countdown->Running();
    const bool expanded = IsDlgButtonChecked(Handle(), IDC_TIMER_DETAILS) == BST_CHECKED;
    const bool announced = Selection(Item(IDC_TIMER_NOTIFY)) != TimerNotifyNone;
    const TimerOperation operation = SelectedOperation(Item(IDC_TIMER_OPERATION));
    const bool program = operation == TimerOperation::RunProgram;
    const bool force = operation == TimerOperation::ShutDown;
    // A choice kept from when the computer could still do it: said, not silently changed.
    const bool unavailable = !TimerOperationOffered(operation, power_);
    EnableWindow(Item(IDC_TIMER_START), running || TimerCanStart(PickerDuration()));
    struct Rule {
        int Id;
        bool Enabled;
        bool Visible;
    };
    const Rule rules[] = {
        {IDC_TIMER_GROUP, !running, true},
        {IDC_TIMER_NOTIFY_LABEL, !running, true},
        {IDC_TIMER_NOTIFY, !running, true},
        {IDC_TIMER_MESSAGE_LABEL, !running && announced, true},
        {IDC_TIMER_MESSAGE, !running && announced, true},
        {IDC_TIMER_OPERATION_LABEL, !running, true},
        {IDC_TIMER_OPERATION, !running, true},
        {IDC_TIMER_PROGRAM_LABEL, !running, program},
        {IDC_TIMER_PROGRAM, !running, program},
        {IDC_TIMER_BROWSE, !running, program},
        {IDC_TIMER_FORCE, !running, force},
        {IDC_TIMER_OPERATION_NOTE, !running, unavailable},
    };
    for (const Rule& rule : rules) {
        EnableWindow(Item(rule.Id), rule.Enabled);
        ShowWindow(Item(rule.Id), expanded && rule.Visible ? SW_SHOWNA : SW_HIDE);
    }
}

void TTimerForm::SetDuration(double duration) {
    const DateTimeParts parts = SplitDateTime(TimerDuration(duration));
    SYSTEMTIME time{};
    time.wYear = 2000; // any valid day: the picker shows the time only
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = static_cast<WORD>(parts.Hour);
    time.wMinute = static_cast<WORD>(parts.Minute);
    time.wSecond = static_cast<WORD>(parts.Second);
    SendMessageW(Item(IDC_TIMER_TIME), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    if (!loading_) {
        ChangeSettings([&](TimerSettings& timer) { timer.Time = TimerDuration(duration); });
    }
}

double TTimerForm::PickerDuration() const {
    SYSTEMTIME time{};
    if (SendMessageW(Item(IDC_TIMER_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
        return 0;
    }
    return TimerDuration(ComposeDateTime(1899, 12, 30, time.wHour % 24, time.wMinute % 60, time.wSecond % 60, 0));
}

void TTimerForm::DurationPicked() {
    if (!loading_ && !context_.Countdown->Running()) {
        ChangeSettings([&](TimerSettings& timer) { timer.Time = PickerDuration(); });
        ApplyRules();
    }
}

// The picker's pop-up menu of durations, at the pointer or, from the keyboard, under the picker.
void TTimerForm::PresetMenu(HWND from, LPARAM point) {
    const HWND picker = Item(IDC_TIMER_TIME);
    if ((from != picker && !IsChild(picker, from)) || context_.Countdown->Running()) {
        return;
    }
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    for (size_t i = 0; i < TimerPresets.size(); ++i) {
        const std::wstring caption(TimerPresets[i].Caption);
        AppendMenuW(menu.Get(), MF_STRING, IDM_TIMER_PRESET_FIRST + i, caption.c_str());
    }
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (at.x == -1 && at.y == -1) { // from the keyboard
        RECT rect{};
        GetWindowRect(picker, &rect);
        at = {rect.left, rect.bottom};
    }
    TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void TTimerForm::DetailsButtonClick() {
    const bool expanded = IsDlgButtonChecked(Handle(), IDC_TIMER_DETAILS) == BST_CHECKED;
    ChangeSettings([&](TimerSettings& timer) { timer.Option = expanded; });
    ResizeForDetails(true);
}

void TTimerForm::ResizeForDetails(bool animate) {
    const bool expanded = IsDlgButtonChecked(Handle(), IDC_TIMER_DETAILS) == BST_CHECKED;
    SetDlgItemTextW(Handle(), IDC_TIMER_DETAILS,
                    LoadResourceString(expanded ? IDS_TIMER_HIDE_DETAILS : IDS_TIMER_SHOW_DETAILS).c_str());
    ApplyRules();
    BOOL animation = FALSE;
    SystemParametersInfoW(SPI_GETCOMBOBOXANIMATION, 0, &animation, 0);
    if (animate && animation && IsWindowVisible(Handle())) {
        SetTimer(Handle(), DetailsTimerId, DetailsStepInterval, nullptr);
        return;
    }
    KillTimer(Handle(), DetailsTimerId);
    RECT window{};
    GetWindowRect(Handle(), &window);
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left, expanded ? expandedHeight_ : collapsedHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// One step of the growing or shrinking dialog.
void TTimerForm::DetailsTimer() {
    const bool expanded = IsDlgButtonChecked(Handle(), IDC_TIMER_DETAILS) == BST_CHECKED;
    const int target = expanded ? expandedHeight_ : collapsedHeight_;
    RECT window{};
    GetWindowRect(Handle(), &window);
    const int height = window.bottom - window.top;
    const int next = height < target ? std::min(target, height + heightStep_) : std::max(target, height - heightStep_);
    if (next == target) {
        KillTimer(Handle(), DetailsTimerId);
    }
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left, next, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTimerForm::BrowseButtonClick() {
    std::wstring filter = LoadResourceString(IDS_TIMER_BROWSE_FILTER);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');
    const std::wstring title = LoadResourceString(IDS_TIMER_BROWSE_TITLE);
    const std::wstring okCaption = LoadResourceString(IDS_TIMER_BROWSE_OK);
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder);
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.lpfnHook = BrowseHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&okCaption);
    if (GetOpenFileNameW(&dialog)) {
        SetDlgItemTextW(Handle(), IDC_TIMER_PROGRAM, file.data()); // stored by its change notification
    }
}

} // namespace lumora
