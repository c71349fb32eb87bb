#include "tools/WorldClockForm.h"

#include "adjust/SystemClock.h"
#include "shell/AppNames.h"
#include "shell/HelpViewer.h"
#include "shell/MessageBoxes.h"
#include "shell/Registry.h"
#include "shell/UniqueHandle.h"
#include "tools/WorldClockFormRes.h"

#include <commctrl.h>

#include <cmath>

namespace lumora {
namespace {

constexpr int WorldClockHelpContext = 20;
constexpr int TimeTab = 0, ZoneTab = 1;
constexpr UINT PreviewInterval = 100;
constexpr WPARAM ZoneRows = 12; // rows of the open zone list
constexpr wchar_t PickerFormat[] = L"H '時間' m '分' s '秒'";

constexpr int TimeTabControls[] = {IDC_WC_FORWARD, IDC_WC_BACK,         IDC_WC_TIME_LABEL,
                                   IDC_WC_TIME,    IDC_WC_SHIFT_LABELS, IDC_WC_SHIFT_PREVIEW};
constexpr int ZoneTabControls[] = {IDC_WC_ZONE_LABEL, IDC_WC_ZONES, IDC_WC_ZONE_LABELS, IDC_WC_ZONE_PREVIEW};

// One zone of the registry's list; a zone without a usable "TZI" counts as UTC, one whose key
// does not open is none.
std::optional<TimeZoneEntry> ReadZone(HKEY zones, const std::wstring& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(zones, name.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueRegistryKey key(opened);
    TimeZoneEntry zone{name, name, 0};
    uint8_t tzi[256] = {};
    DWORD size = sizeof(tzi);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), L"TZI", nullptr, &type, tzi, &size) == ERROR_SUCCESS) {
        zone.Bias = BiasFromTzi(type == REG_BINARY, {tzi, size}).value_or(0);
    }
    if (std::wstring display = RegistryString(key.Get(), nullptr, L"Display"); !display.empty()) {
        zone.Display = std::move(display);
    }
    return zone;
}

std::vector<TimeZoneEntry> ReadZones() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS) {
        return {};
    }
    const UniqueRegistryKey zones(opened);
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(zones.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return ReadZoneList(names, [&zones](const std::wstring& key) { return ReadZone(zones.Get(), key); });
}

SYSTEMTIME PickerTime(double timeOfDay) {
    const auto seconds = static_cast<int>(std::lround(std::fabs(timeOfDay) * 86400.0)) % 86400;
    SYSTEMTIME time{};
    time.wYear = 2000;
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = static_cast<WORD>(seconds / 3600);
    time.wMinute = static_cast<WORD>(seconds / 60 % 60);
    time.wSecond = static_cast<WORD>(seconds % 60);
    return time;
}

} // namespace

std::unique_ptr<TWorldClockForm> TWorldClockForm::Create(HWND owner, WorldClockContext context) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    std::unique_ptr<TWorldClockForm> form(new TWorldClockForm(std::move(context)));
    if (!form->CreateDialogForm(names::WorldClockFormClass, IDD_WORLD_CLOCK, owner)) {
        return nullptr;
    }
    ShowWindow(form->Handle(), SW_SHOW);
    form->FormShow();
    return form;
}

bool TWorldClockForm::OnInitDialog() {
    HWND tabs = Item(IDC_WC_TABS);
    for (const UINT id : {IDS_WC_TIME_TAB, IDS_WC_ZONE_TAB}) {
        std::wstring caption = LoadResourceString(id);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(id - IDS_WC_TIME_TAB), reinterpret_cast<LPARAM>(&tab));
    }
    const WorldClockSettings& settings = context_.Settings;
    SendMessageW(Item(IDC_WC_TIME), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(PickerFormat));
    SYSTEMTIME time = PickerTime(settings.TimeDiffTime);
    SendMessageW(Item(IDC_WC_TIME), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    CheckRadioButton(Handle(), IDC_WC_FORWARD, IDC_WC_BACK, settings.TimeDiffTime < 0 ? IDC_WC_BACK : IDC_WC_FORWARD);

    zones_ = ReadZones();
    HWND combo = Item(IDC_WC_ZONES);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NoZoneCaption));
    for (const TimeZoneEntry& zone : zones_) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(zone.Display.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(StoredZoneIndex(settings, zones_)), 0);
    SendMessageW(combo, CB_SETMINVISIBLE, ZoneRows, 0);

    const int tab = settings.WorldClockMode ? ZoneTab : TimeTab;
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    ShowTab(tab);
    UpdatePreview();
    return false; // the focus is placed once the dialog shows
}

void TWorldClockForm::FormShow() {
    SetTimer(Handle(), PreviewTimerId, PreviewInterval, nullptr);
    applying_ = true;
    ApplyChoices();
    const bool zoneTab = SendMessageW(Item(IDC_WC_TABS), TCM_GETCURSEL, 0, 0) == ZoneTab;
    SetFocus(Item(zoneTab ? IDC_WC_ZONES : (context_.Settings.TimeDiffTime < 0 ? IDC_WC_BACK : IDC_WC_FORWARD)));
}

void TWorldClockForm::ShowTab(int tab) {
    for (const int id : TimeTabControls) {
        ShowWindow(Item(id), tab == TimeTab ? SW_SHOW : SW_HIDE);
    }
    for (const int id : ZoneTabControls) {
        ShowWindow(Item(id), tab == ZoneTab ? SW_SHOW : SW_HIDE);
    }
}

void TWorldClockForm::ApplyChoices() {
    if (!applying_) {
        return;
    }
    WorldClockSettings next = context_.Settings;
    if (SendMessageW(Item(IDC_WC_TABS), TCM_GETCURSEL, 0, 0) == ZoneTab) {
        ApplyZone(next, static_cast<int>(SendMessageW(Item(IDC_WC_ZONES), CB_GETCURSEL, 0, 0)), zones_);
    } else {
        SYSTEMTIME time{};
        SendMessageW(Item(IDC_WC_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        const double timeOfDay = (time.wHour * 3600.0 + time.wMinute * 60.0 + time.wSecond) / 86400.0;
        ApplyShift(next, timeOfDay, IsDlgButtonChecked(Handle(), IDC_WC_BACK) == BST_CHECKED);
    }
    context_.Settings = next;
    context_.Apply(next);
    UpdatePreview();
}

void TWorldClockForm::UpdatePreview() {
    const double now = LocalNow();
    const WorldClockSettings& settings = context_.Settings;
    SetDlgItemTextW(Handle(), IDC_WC_SHIFT_PREVIEW, ShiftPreview(now, settings.TimeDiffTime, context_.Locale).c_str());
    SetDlgItemTextW(Handle(), IDC_WC_ZONE_PREVIEW,
                    ZonePreview(now, context_.TimeZoneBias(), settings, context_.Locale).c_str());
}

// OK keeps what the clock shows now; anything else puts the settings back.
void TWorldClockForm::Finish(bool keep) {
    KillTimer(Handle(), PreviewTimerId);
    if (!keep) {
        context_.Apply(original_);
    }
    Close();
}

void TWorldClockForm::OnCommand(int id, int code) {
    switch (id) {
    case IDC_WC_FORWARD:
    case IDC_WC_BACK:
        if (code == BN_CLICKED) {
            ApplyChoices();
        }
        break;
    case IDC_WC_ZONES:
        if (code == CBN_SELCHANGE) {
            ApplyChoices();
        }
        break;
    default:
        break;
    }
}

void TWorldClockForm::FormHelp() {
    if (context_.Help != nullptr) {
        context_.Help->ShowContext(Handle(), WorldClockHelpContext);
    }
}

LRESULT TWorldClockForm::OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_WC_TABS && header->code == TCN_SELCHANGE) {
            ShowTab(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            ApplyChoices();
        } else if (header->idFrom == IDC_WC_TIME && header->code == DTN_DATETIMECHANGE) {
            ApplyChoices();
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == PreviewTimerId) {
            UpdatePreview();
        }
        return 0;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora
