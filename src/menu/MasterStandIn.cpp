#include "menu/MasterStandIn.h"

#include "shell/AppNames.h"

namespace lumora {

std::unique_ptr<TMasterStandIn> TMasterStandIn::Create(HWND master) {
    std::unique_ptr<TMasterStandIn> form(new TMasterStandIn(master));
    CreateParams params;
    params.ClassName = names::MasterStandInClass;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Left = -32000;
    params.Top = -32000;
    params.Owner = master;
    if (!form->CreateForm(params)) {
        return nullptr;
    }
    return form;
}

LRESULT TMasterStandIn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR:
        return SendMessageW(master_, message, wParam, lParam);
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

} // namespace lumora
