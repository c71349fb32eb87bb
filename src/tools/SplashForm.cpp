#include "tools/SplashForm.h"

#include "shell/AppNames.h"
#include "resources/ResourceIds.h"
#include "shell/MessageBoxes.h"

namespace lumora {
namespace {

constexpr UINT_PTR CloseTimerId = 1;
constexpr UINT CloseCheckInterval = 2000;
constexpr DWORD FadeTime = 150;

void DrawLine(HDC dc, const std::wstring& text, RECT rect, UINT verticalFlag, bool bold) {
    UniqueFont font(CreateFontW(-12, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                L"MS UI Gothic"));
    SelectedObject selected(dc, font.Get());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | verticalFlag);
}

} // namespace

bool TSplashForm::FadeEnabled() {
    BOOL animation = FALSE;
    SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
    if (!animation) {
        return false;
    }
    BOOL fade = FALSE;
    SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
    return fade != FALSE;
}

std::unique_ptr<TSplashForm> TSplashForm::Create(const RECT& workArea, bool fade,
                                                 std::function<bool()> startupFinished) {
    std::unique_ptr<TSplashForm> splash(new TSplashForm(std::move(startupFinished)));
    if (!splash->Build(workArea, fade)) {
        return nullptr;
    }
    return splash;
}

void TSplashForm::LoadPicture() {
    picture_.Reset(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!picture_ || !GetObjectW(picture_.Get(), sizeof(info), &info)) {
        picture_.Reset();
        return;
    }
    pictureSize_ = {info.bmWidth, info.bmHeight};
    MemoryDC memory;
    SelectedObject selected(memory.Get(), picture_.Get());
    SetBkMode(memory.Get(), TRANSPARENT);
    SetTextColor(memory.Get(), RGB(0, 0, 0));
    RECT text{0, 95, pictureSize_.cx - 12, pictureSize_.cy};
    DrawLine(memory.Get(), FillText(LoadResourceString(IDS_SPLASH_VERSION), {L"" LUMORA_VERSION}), text, DT_TOP, true);
    text.bottom -= 10;
    DrawLine(memory.Get(), LoadResourceString(IDS_OWNERSHIP_NOTICE), text, DT_BOTTOM, false);
    text.bottom -= 20;
    DrawLine(memory.Get(), LoadResourceString(IDS_SPLASH_README), text, DT_BOTTOM, false);
}

bool TSplashForm::Build(const RECT& work, bool fade) {
    fade_ = fade;
    LoadPicture();
    const int border = GetSystemMetrics(SM_CXBORDER);
    RECT frame{0, 0, pictureSize_.cx + 2 * border, pictureSize_.cy + 2 * border};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    const int width = picture_ ? frame.right - frame.left : 0;
    const int height = picture_ ? frame.bottom - frame.top : 0;
    CreateParams params;
    params.ClassName = names::SplashFormClass;
    params.ClassStyle = CS_DROPSHADOW;
    params.Caption = L"";
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Left = (work.left + work.right - width) / 2;
    params.Top = (work.top + work.bottom - height) / 2;
    params.Width = width;
    params.Height = height;
    if (!CreateForm(params)) {
        return false;
    }
    closeTimer_ = SetTimer(Handle(), CloseTimerId, CloseCheckInterval, nullptr);
    if (fade_) {
        AnimateWindow(Handle(), FadeTime, AW_BLEND);
    } else {
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }
    UpdateWindow(Handle());
    return true;
}

void TSplashForm::PaintPicture(HDC dc) const {
    if (!picture_) {
        return;
    }
    // The line between the frame and the picture: the class has no background to erase it with.
    RECT client{};
    GetClientRect(Handle(), &client);
    Fill(dc, client, GetSysColor(COLOR_WINDOWFRAME));
    MemoryDC memory;
    SelectedObject selected(memory.Get(), picture_.Get());
    const int border = GetSystemMetrics(SM_CXBORDER);
    BitBlt(dc, border, border, pictureSize_.cx, pictureSize_.cy, memory.Get(), 0, 0, SRCCOPY);
}

void TSplashForm::FormPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    PaintPicture(dc);
    EndPaint(Handle(), &paint);
}

void TSplashForm::Release() {
    if (closeTimer_ != 0) {
        KillTimer(Handle(), closeTimer_);
        closeTimer_ = 0;
    }
    DestroyWindow(Handle());
}

void TSplashForm::CloseTimerTick() {
    if (!startupFinished_()) {
        return;
    }
    KillTimer(Handle(), closeTimer_);
    closeTimer_ = 0;
    if (fade_) {
        AnimateWindow(Handle(), FadeTime, AW_HIDE | AW_BLEND);
    }
    DestroyWindow(Handle());
}

LRESULT TSplashForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK) ||
        (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK)) {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        Release();
        return result;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == CloseTimerId) {
            CloseTimerTick();
        }
        return 0;
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_PRINTCLIENT:
        // AnimateWindow draws each step of the fade through this message, not WM_PAINT.
        PaintPicture(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_WINDOWPOSCHANGING:
        // Without its picture the splash stays invisible.
        if (!picture_) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            pos->cx = 0;
            pos->cy = 0;
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora
