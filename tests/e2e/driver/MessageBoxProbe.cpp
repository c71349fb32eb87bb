// msgbox-probe <text> [title]: shows one Yes/No warning box and exits with the pressed button's
// id, so the harness can check reading and pressing message boxes without Lumora.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 0;
    const wchar_t* title = argc > 2 ? argv[2] : L"Lumora";
    int pressed = MessageBoxW(nullptr, argv[1], title, MB_YESNO | MB_ICONWARNING);
    LocalFree(argv);
    return pressed;
}
