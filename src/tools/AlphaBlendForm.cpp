#include "tools/AlphaBlendForm.h"

#include "shell/AppNames.h"
#include "shell/HelpViewer.h"
#include "tools/SmallFormsRes.h"

#include <commctrl.h>

namespace lumora {
namespace {

constexpr int AlphaBlendHelpContext = 26;
constexpr int MinimumLayeredDepth = 16;

} // namespace

std::unique_ptr<TAlphaBlendForm> TAlphaBlendForm::Create(HWND owner, AlphaBlendContext context) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    std::unique_ptr<TAlphaBlendForm> form(new TAlphaBlendForm(std::move(context)));
    if (!form->CreateDialogForm(names::AlphaBlendFormClass, IDD_ALPHA_BLEND, owner)) {
        return nullptr;
    }
    ShowWindow(form->Handle(), SW_SHOW);
    form->applying_ = true;
    return form;
}

// The slider measures transparency: clear at the right.
bool TAlphaBlendForm::OnInitDialog() {
    HWND track = GetDlgItem(Handle(), IDC_AB_TRACK);
    SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 255));
    SendMessageW(track, TBM_SETPAGESIZE, 0, 32);
    SendMessageW(track, TBM_SETLINESIZE, 0, 16);
    SendMessageW(track, TBM_SETTICFREQ, 32, 0);
    SendMessageW(track, TBM_SETPOS, TRUE, 255 - context_.Opacity);
    ShowForDepth(context_.ColourDepth);
    return true;
}

void TAlphaBlendForm::SliderMoved() {
    if (applying_) {
        const auto position = SendDlgItemMessageW(Handle(), IDC_AB_TRACK, TBM_GETPOS, 0, 0);
        context_.Apply(255 - static_cast<int>(position));
    }
}

void TAlphaBlendForm::ShowForDepth(int colourDepth) {
    const bool usable = context_.Layered && colourDepth >= MinimumLayeredDepth;
    for (const int id : {IDC_AB_MIN, IDC_AB_MAX, IDC_AB_TRACK}) {
        ShowWindow(GetDlgItem(Handle(), id), usable ? SW_SHOW : SW_HIDE);
    }
    EnableWindow(GetDlgItem(Handle(), IDC_AB_TRACK), usable);
    ShowWindow(GetDlgItem(Handle(), IDC_AB_WARNING), usable ? SW_HIDE : SW_SHOW);
    EnableWindow(GetDlgItem(Handle(), IDOK), usable);
}

void TAlphaBlendForm::OnCancel() {
    context_.Apply(context_.Opacity);
    Close();
}

void TAlphaBlendForm::FormHelp() {
    if (context_.Help != nullptr) {
        context_.Help->ShowContext(Handle(), AlphaBlendHelpContext);
    }
}

LRESULT TAlphaBlendForm::OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        SliderMoved();
        return 0;
    case WM_DISPLAYCHANGE:
        DefaultHandler(message, wParam, lParam);
        ShowForDepth(static_cast<int>(wParam));
        return 0;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora
