#include "options/StartupShortcut.h"

#include "options/TopLevelPages.h"
#include "resources/ResourceIds.h"
#include "shell/ComApartment.h"
#include "shell/ExecutablePath.h"
#include "shell/MessageBoxes.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace lumora {
namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface> using ComObject = std::unique_ptr<Interface, ComRelease>;

ComObject<IShellLinkW> NewShellLink() {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) {
        return nullptr;
    }
    return ComObject<IShellLinkW>(link);
}

ComObject<IPersistFile> FileOf(IShellLinkW& link) {
    IPersistFile* file = nullptr;
    if (FAILED(link.QueryInterface(IID_PPV_ARGS(&file)))) {
        return nullptr;
    }
    return ComObject<IPersistFile>(file);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

StartupShortcutFound ReadShortcut(const std::wstring& path, const std::wstring& executable) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return StartupShortcutFound::None;
    }
    const ComObject<IShellLinkW> link = NewShellLink();
    const ComObject<IPersistFile> file = link ? FileOf(*link) : nullptr;
    if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) {
        return StartupShortcutFound::Unreadable;
    }
    link->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI);
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) || target[0] == L'\0') {
        return StartupShortcutFound::Unreadable;
    }
    return SameFile(target, executable) ? StartupShortcutFound::Ours : StartupShortcutFound::OtherProgram;
}

bool CreateShortcut(const std::wstring& path, const std::wstring& executable) {
    const ComObject<IShellLinkW> link = NewShellLink();
    const ComObject<IPersistFile> file = link ? FileOf(*link) : nullptr;
    if (!file) {
        return false;
    }
    const std::wstring description = FillText(LoadResourceString(IDS_STARTUP_SHORTCUT_DESCRIPTION), {L"Lumora"});
    return SUCCEEDED(link->SetPath(executable.c_str())) && SUCCEEDED(link->SetArguments(L"")) &&
           SUCCEEDED(link->SetDescription(description.c_str())) &&
           SUCCEEDED(link->SetIconLocation(executable.c_str(), 0)) && SUCCEEDED(link->SetWorkingDirectory(L"")) &&
           SUCCEEDED(file->Save(path.c_str(), TRUE));
}

} // namespace

std::wstring StartupShortcutPath() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    return std::wstring(folder) + L"\\Lumora.lnk";
}

bool StartupShortcutExists() {
    const std::wstring path = StartupShortcutPath();
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ApplyStartupShortcut(HWND owner, bool wanted) {
    const std::wstring path = StartupShortcutPath();
    if (path.empty()) {
        if (wanted) {
            ShowResourceMessage(owner, IDS_STARTUP_SHORTCUT_NOT_CREATED, MB_OK | MB_ICONERROR);
        }
        return;
    }
    const ComApartment apartment;
    const std::wstring executable = ExecutablePath();
    switch (NextStartupShortcutStep(wanted, ReadShortcut(path, executable))) {
    case StartupShortcutStep::Nothing:
        return;
    case StartupShortcutStep::AskOverwrite:
        if (ShowResourceMessage(owner, IDS_ASK_OVERWRITE_STARTUP_SHORTCUT, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
                                {L"Lumora"}) != IDYES) {
            return;
        }
        [[fallthrough]];
    case StartupShortcutStep::Create:
        if (!CreateShortcut(path, executable)) {
            ShowResourceMessage(owner, IDS_STARTUP_SHORTCUT_NOT_CREATED, MB_OK | MB_ICONERROR);
        }
        return;
    case StartupShortcutStep::Delete:
        if (!DeleteFileW(path.c_str())) {
            ShowResourceMessage(owner, IDS_STARTUP_SHORTCUT_NOT_DELETED, MB_OK | MB_ICONERROR);
        }
        return;
    case StartupShortcutStep::KeepOtherProgram:
        ShowResourceMessage(owner, IDS_STARTUP_SHORTCUT_OTHER_TARGET, MB_OK | MB_ICONWARNING, {L"Lumora"});
        return;
    }
}

} // namespace lumora
