#include "shell/HelpViewer.h"

#include "resources/ResourceIds.h"
#include "shell/ExecutablePath.h"
#include "shell/FileIo.h"
#include "shell/HelpRules.h"
#include "shell/KZForm.h"
#include "shell/MessageBoxes.h"
#include "shell/PathText.h"

namespace lumora {
namespace {

constexpr UINT HelpDisplayTopic = 0;           // HH_DISPLAY_TOPIC
constexpr UINT HelpContext = 15;               // HH_HELP_CONTEXT
constexpr UINT HelpCloseAll = 18;              // HH_CLOSE_ALL
constexpr UINT HelpInitialize = 28;            // HH_INITIALIZE
constexpr UINT HelpUninitialize = 29;          // HH_UNINITIALIZE
constexpr UINT HelpPreTranslateMessage = 0xFD; // HH_PRETRANSLATEMESSAGE

// The help's messages: on the window asking when it shows, else on the window in use (or the
// window that owns it), else on the desktop; titled like that window.
HWND HelpMessageOwner(HWND owner) {
    if (owner != nullptr && IsWindowVisible(owner)) {
        return owner;
    }
    HWND active = GetActiveWindow();
    if (active != nullptr && GetWindow(active, GW_OWNER) != nullptr) {
        active = GetWindow(active, GW_OWNER);
    }
    return active != nullptr ? active : GetDesktopWindow();
}

void ShowHelpMessage(HWND owner, UINT id) {
    HWND boxOwner = HelpMessageOwner(owner);
    wchar_t title[256] = L"";
    GetWindowTextW(boxOwner, title, static_cast<int>(std::size(title)));
    const std::wstring text = LoadResourceString(id);
    MessageBoxW(boxOwner, text.c_str(), title[0] != 0 ? title : L"Lumora", MB_ICONERROR);
}

bool Readable(const std::wstring& file) {
    HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

} // namespace

HelpViewer::HelpViewer() : library_(LoadLibraryW(L"hhctrl.ocx")) {
    if (library_ == nullptr) {
        return;
    }
    htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library_, "HtmlHelpA")));
    if (htmlHelp_ != nullptr) {
        // Without this the viewer runs its windows on a thread of its own, which is still inside
        // the library when the program lets it go at exit. On our thread, the help windows' keys
        // must pass through the viewer before the message loop translates them.
        htmlHelp_(nullptr, nullptr, HelpInitialize, reinterpret_cast<DWORD_PTR>(&cookie_));
        initialized_ = true;
        TKZForm::SetForeignMessageFilter([this](MSG& message) { return PreTranslate(message); });
    }
}

HelpViewer::~HelpViewer() {
    if (initialized_) {
        TKZForm::SetForeignMessageFilter(nullptr);
        CloseAll();
        htmlHelp_(nullptr, nullptr, HelpUninitialize, cookie_);
    }
    if (library_ != nullptr) {
        FreeLibrary(library_);
    }
}

void HelpViewer::CloseAll() const {
    if (htmlHelp_ != nullptr) {
        htmlHelp_(nullptr, nullptr, HelpCloseAll, 0);
    }
}

bool HelpViewer::PreTranslate(MSG& message) const {
    return htmlHelp_(nullptr, nullptr, HelpPreTranslateMessage, reinterpret_cast<DWORD_PTR>(&message)) != nullptr;
}

std::wstring HelpViewer::HelpFile() {
    return std::wstring(WithoutExtension(ExecutablePath())) + L".chm";
}

void HelpViewer::ShowContext(HWND owner, int context) const {
    Show(owner, HelpFile(), HelpContext, static_cast<DWORD_PTR>(context));
}

HWND HelpViewer::Call(const std::string& file, UINT command, DWORD_PTR data) const {
    HWND window = htmlHelp_(nullptr, file.c_str(), command, data);
    if (window != nullptr) {
        GetSystemMenu(window, TRUE); // back to the system's own menu
        if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON))) {
            SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        }
    }
    return window;
}

void HelpViewer::Show(HWND owner, const std::wstring& file, UINT command, DWORD_PTR data) const {
    SetCurrentDirectoryW(std::wstring(FolderOf(ExecutablePath())).c_str());
    const std::string ansiFile = EncodeAnsi(file);
    HelpProbe probe;
    probe.OwnerMinimized = owner != nullptr && IsIconic(owner);
    probe.ViewerAvailable = htmlHelp_ != nullptr;
    probe.FileExists = FileExists(file);
    probe.ShowTopic = [&] { return Call(ansiFile, command, data) != nullptr; };
    probe.FileReadable = [&] { return Readable(file); };
    probe.ShowFirstPage = [&] { return Call(ansiFile, HelpDisplayTopic, 0) != nullptr; };
    switch (OpenHelp(probe)) {
    case HelpOutcome::NoViewer:
        ShowHelpMessage(owner, IDS_HELP_NO_VIEWER);
        break;
    case HelpOutcome::NoFile:
        ShowHelpMessage(owner, IDS_HELP_NO_FILE);
        break;
    case HelpOutcome::NotPermitted:
        ShowHelpMessage(owner, IDS_HELP_NOT_PERMITTED);
        break;
    case HelpOutcome::Nothing:
    case HelpOutcome::Shown:
        break;
    }
}

} // namespace lumora
