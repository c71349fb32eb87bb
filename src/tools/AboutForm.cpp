#include "tools/AboutForm.h"

#include "shell/AppNames.h"
#include "resources/ResourceIds.h"
#include "shell/DpiScale.h"
#include "shell/HelpViewer.h"
#include "shell/MessageBoxes.h"
#include "shell/Monitors.h"
#include "tools/SmallFormsRes.h"

#include <commctrl.h>

namespace lumora {
namespace {

constexpr int AboutHelpContext = 76;
constexpr int ClientWidth = 322, ClientHeight = 153; // at 96 DPI

// The template's dialog units give the box about this size; it is made exact in pixels, at the
// window's DPI, and stays centred where the template put it.
void SizeClientArea(HWND window) {
    const int dpi = WindowDpi(window);
    RECT frame{0, 0, ScaleToDpi(ClientWidth, dpi), ScaleToDpi(ClientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    RECT placed{};
    GetWindowRect(window, &placed);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, (placed.left + placed.right - width) / 2, (placed.top + placed.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

std::unique_ptr<TAboutForm> TAboutForm::Create(HWND owner, std::function<void()> openWebSite, const HelpViewer* help) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    std::unique_ptr<TAboutForm> form(new TAboutForm(std::move(openWebSite), help));
    if (!form->CreateDialogForm(names::AboutFormClass, IDD_ABOUT, owner)) {
        return nullptr;
    }
    ShowWindow(form->Handle(), SW_SHOW);
    return form;
}

bool TAboutForm::OnInitDialog() {
    SizeClientArea(Handle());
    const std::wstring title = FillText(LoadResourceString(IDS_ABOUT_TITLE), {names::ProductName, L"" LUMORA_VERSION});
    SetDlgItemTextW(Handle(), IDC_ABOUT_TITLE, title.c_str());
    SetDlgItemTextW(Handle(), IDC_ABOUT_NOTICE, LoadResourceString(IDS_OWNERSHIP_NOTICE).c_str());
    const std::wstring link = std::wstring(L"<a>") + names::WebSite + L"</a>";
    SetDlgItemTextW(Handle(), IDC_ABOUT_URL, link.c_str());
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    SendDlgItemMessageW(Handle(), IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SendDlgItemMessageW(Handle(), IDC_ABOUT_EXCLAMATION, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
    return true;
}

void TAboutForm::FormHelp() {
    if (help_ != nullptr) {
        help_->ShowContext(Handle(), AboutHelpContext);
    }
}

LRESULT TAboutForm::OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_ABOUT_URL && (header->code == NM_CLICK || header->code == NM_RETURN)) {
            openWebSite_();
            Close();
        }
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora
