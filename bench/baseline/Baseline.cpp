// The reference for Lumora's whole-program CPU figure: the same 33 ms multimedia timer and a
// same-sized layered window, but with a picture pushed on every tick whether it changed or not.
// Usage: lumora-baseline.exe [width height [text]]   (default 150 36, the default clock's size)
// With "text" the picture is a clock-like one, changing digits with an outline, instead of a
// small moving block: the window system's cost of a push grows with the opaque pixels.

#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>

namespace {

constexpr wchar_t FormClass[] = L"TBaselineForm";
constexpr UINT TickMessage = WM_APP + 1;
constexpr UINT TickPeriod = 33;

struct Baseline {
    HWND window = nullptr;
    HDC memory = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    uint32_t* bits = nullptr;
    int width = 150;
    int height = 36;
    unsigned frame = 0;
    bool text = false;
    HFONT font = nullptr;
};

Baseline state;

void CALLBACK TimerCallback(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    PostMessageW(state.window, TickMessage, 0, 0);
}

bool CreateDib() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = state.width;
    info.bmiHeader.biHeight = -state.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    state.dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (state.dib == nullptr) {
        return false;
    }
    state.bits = static_cast<uint32_t*>(bits);
    state.memory = CreateCompatibleDC(nullptr);
    state.previousBitmap = SelectObject(state.memory, state.dib);
    return true;
}

// Outlined white digits that change on every tick, opaque where drawn.
void DrawClockLikePicture() {
    if (state.font == nullptr) {
        state.font =
            CreateFontW(-state.height * 4 / 5, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");
    }
    wchar_t text[16];
    const unsigned f = state.frame++;
    swprintf(text, 16, L"%02u:%02u:%02u", (f / 3600) % 24, (f / 60) % 60, f % 60);
    HGDIOBJ previousFont = SelectObject(state.memory, state.font);
    SetBkMode(state.memory, TRANSPARENT);
    RECT box{0, 0, state.width, state.height};
    SetTextColor(state.memory, RGB(1, 1, 1)); // the outline; not 0, which reads as clear below
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            RECT r = box;
            OffsetRect(&r, dx, dy);
            DrawTextW(state.memory, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    SetTextColor(state.memory, RGB(255, 255, 255));
    DrawTextW(state.memory, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(state.memory, previousFont);
    GdiFlush();
    const int count = state.width * state.height;
    for (int i = 0; i < count; ++i) {
        if ((state.bits[i] & 0xFFFFFF) != 0) {
            state.bits[i] |= 0xFF000000u;
        }
    }
}

void DrawMovingBlock() {
    const int block = state.height < 8 ? state.height : 8;
    const int x0 = static_cast<int>(state.frame++ % static_cast<unsigned>(state.width - block + 1));
    for (int y = 0; y < block; ++y) {
        for (int x = x0; x < x0 + block; ++x) {
            state.bits[y * state.width + x] = 0xFFFFFFFFu;
        }
    }
}

void FillAndPush() {
    const int count = state.width * state.height;
    for (int i = 0; i < count; ++i) {
        state.bits[i] = 0;
    }
    if (state.text) {
        DrawClockLikePicture();
    } else {
        DrawMovingBlock();
    }
    GdiFlush();
    SIZE size{state.width, state.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(state.window, nullptr, nullptr, &size, state.memory, &source, 0, &blend, ULW_ALPHA);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TickMessage:
        FillAndPush();
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ReadSize() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv != nullptr && argc >= 3) {
        const int w = _wtoi(argv[1]);
        const int h = _wtoi(argv[2]);
        if (w > 0 && h > 0 && w <= 8192 && h <= 8192) {
            state.width = w;
            state.height = h;
        }
        if (argc >= 4 && std::wcscmp(argv[3], L"text") == 0) {
            state.text = true;
        }
    }
    LocalFree(argv);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ReadSize();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = FormClass;
    if (RegisterClassExW(&wc) == 0) {
        return 1;
    }
    state.window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, FormClass, L"Lumora baseline", WS_POPUP, 100, 100,
                                   state.width, state.height, nullptr, nullptr, instance, nullptr);
    if (state.window == nullptr || !CreateDib()) {
        return 1;
    }
    FillAndPush();
    ShowWindow(state.window, SW_SHOWNA);

    const bool period = timeBeginPeriod(TickPeriod) == TIMERR_NOERROR;
    const UINT timer = timeSetEvent(TickPeriod, TickPeriod, TimerCallback, 0,
                                    TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (timer != 0) {
        timeKillEvent(timer);
    }
    if (period) {
        timeEndPeriod(TickPeriod);
    }
    SelectObject(state.memory, state.previousBitmap);
    DeleteDC(state.memory);
    DeleteObject(state.dib);
    return static_cast<int>(msg.wParam);
}
