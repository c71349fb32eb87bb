#include "shell/FatalErrorForm.h"

#include "shell/AppNames.h"
#include "resources/ResourceIds.h"
#include "shell/MessageBoxes.h"

namespace lumora {
namespace {

constexpr int FormWidth = 480;
constexpr int FormHeight = 210;
constexpr int BandHeight = 55;
constexpr int CloseButtonId = IDCANCEL;

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

} // namespace

bool TFatalErrorForm::ShowModal(const std::wstring& applicationTitle, const std::wstring& errorText) {
    TFatalErrorForm form;
    if (!form.Build(applicationTitle, errorText)) {
        return false;
    }
    MessageBeep(MB_ICONHAND);
    ShowWindow(form.Handle(), SW_SHOW);
    SetForegroundWindow(form.Handle());
    MSG message;
    while (!form.closed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The rest of the program is in an unknown state: none of its messages run any more.
        const bool ours = message.hwnd == form.Handle() || IsChild(form.Handle(), message.hwnd);
        if (!ours) {
            if (message.message == WM_PAINT) {
                ValidateRect(message.hwnd, nullptr);
            }
            continue;
        }
        if (!IsDialogMessageW(form.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

bool TFatalErrorForm::Build(const std::wstring& applicationTitle, const std::wstring& errorText) {
    dpi_ = ScreenDpi();
    const int width = Scale(FormWidth);
    const int height = Scale(FormHeight);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::wstring caption = LoadResourceString(IDS_FATAL_ERROR_CAPTION);
    CreateParams params;
    params.ClassName = names::FatalErrorFormClass;
    params.Caption = caption.c_str();
    params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    params.Dialog = true;
    params.Left = work.left + (work.right - work.left - width) / 2;
    params.Top = work.top + (work.bottom - work.top - height) / 2;
    params.Width = width;
    params.Height = height;
    if (!CreateForm(params)) {
        return false;
    }
    whiteBrush_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (icon == nullptr) {
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    AddControl(L"STATIC", L"", SS_ETCHEDHORZ, 0, 0, FormWidth, 2);
    HWND iconControl = AddControl(L"STATIC", L"", SS_ICON, 430, 12, 32, 32);
    SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    const DWORD readOnlyText = ES_MULTILINE | ES_READONLY | WS_TABSTOP;
    AddControl(L"EDIT", FillText(LoadResourceString(IDS_FATAL_APOLOGY), {applicationTitle}), readOnlyText, 20, 15, 400,
               40);
    AddControl(L"STATIC", LoadResourceString(IDS_FATAL_LOST_WORK), SS_LEFT, 20, 65, 435, 25);
    AddControl(L"STATIC", LoadResourceString(IDS_FATAL_REPORT), SS_LEFT, 20, 90, 435, 30);
    AddControl(L"STATIC", LoadResourceString(IDS_FATAL_DETAILS_LABEL), SS_LEFTNOWORDWRAP, 20, 125, 98, 20);
    AddControl(L"EDIT", errorText, readOnlyText | ES_AUTOVSCROLL, 120, 125, 345, 30);
    HWND close = AddControl(L"BUTTON", LoadResourceString(IDS_FATAL_CLOSE), BS_DEFPUSHBUTTON | WS_TABSTOP, 378, 155, 88,
                            21, CloseButtonId);
    SetFocus(close);
    return true;
}

HWND TFatalErrorForm::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y, int w,
                                 int h, int id) {
    HWND control = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, Scale(x), Scale(y),
                                   Scale(w), Scale(h), Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void TFatalErrorForm::FormPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT band{};
    GetClientRect(Handle(), &band);
    band.bottom = Scale(BandHeight);
    FillRect(dc, &band, whiteBrush_);
    EndPaint(Handle(), &paint);
}

LRESULT TFatalErrorForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Texts inside the white band sit on white; the others on the dialog face.
        RECT rect{};
        GetWindowRect(reinterpret_cast<HWND>(lParam), &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        const bool inBand = rect.bottom <= Scale(BandHeight);
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(inBand ? COLOR_WINDOW : COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(inBand ? whiteBrush_ : GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == CloseButtonId) {
            DestroyWindow(Handle());
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        closed_ = true;
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

} // namespace lumora
