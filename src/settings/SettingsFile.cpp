#include "settings/SettingsFile.h"

#include "resources/ResourceIds.h"
#include "settings/SettingsSwap.h"
#include "shell/ExecutablePath.h"
#include "shell/FileIo.h"
#include "shell/MessageBoxes.h"
#include "shell/PathText.h"
#include "shell/TestFaults.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <string>

namespace lumora {
namespace {

UniqueFile CreateNewFile(const std::wstring& path) {
    return UniqueFile(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD chunk = 0;
        const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1 << 20));
        if (!WriteFile(file, bytes.data() + written, size, &chunk, nullptr) || chunk == 0) {
            return false;
        }
        written += chunk;
    }
    return FlushFileBuffers(file) != FALSE;
}

// The failures a virus scanner or the indexer holding a file gives ReplaceFileW on Windows, for
// the tests: the files are left as the documentation of each code says.
std::uint32_t ReplaceFault(const std::wstring& target, const std::wstring& backup, int call) {
    if (TestFault(L"replace-1176")) {
        DeleteFileW(target.c_str()); // as when no backup is kept: the old file is gone
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    }
    if (TestFault(L"replace-1177")) {
        MoveFileExW(target.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING);
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    }
    if (TestFault(L"replace-held") || (TestFault(L"replace-busy") && call <= 2)) {
        return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

class WindowsSwapFiles final : public SwapFiles {
public:
    std::uint32_t Replace(const std::wstring& target, const std::wstring& replacement,
                          const std::wstring& backup) override {
        if (const std::uint32_t fault = ReplaceFault(target, backup, ++replaceCalls_); fault != ERROR_SUCCESS) {
            return fault;
        }
        return ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr)
                   ? ERROR_SUCCESS
                   : GetLastError();
    }
    std::uint32_t Move(const std::wstring& from, const std::wstring& to) override {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? ERROR_SUCCESS
                   : GetLastError();
    }
    bool Exists(const std::wstring& path) override {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    void Delete(const std::wstring& path) override { DeleteFileW(path.c_str()); }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }

private:
    int replaceCalls_ = 0;
};

std::wstring ApplicationDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ? folder : L"";
}

std::wstring LogonUserName() {
    wchar_t name[257] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    return GetUserNameW(name, &size) ? name : L"";
}

} // namespace

SettingsPaths LocateSettingsFiles() {
    return ComposeSettingsPaths(ApplicationDataFolder(), ExecutablePath(), LogonUserName());
}

bool WindowsSettingsStorage::Exists(const std::wstring& path) {
    return FileExists(path);
}

SettingsStorage::ReadResult WindowsSettingsStorage::ReadText(const std::wstring& path, std::wstring& text) {
    text.clear();
    if (path.empty()) {
        return ReadResult::Missing;
    }
    std::string bytes;
    switch (ReadWholeFile(path, MaxFileSize, bytes)) {
    case FileReadResult::Read:
        text = DecodeAnsi(bytes);
        return ReadResult::Read;
    case FileReadResult::Missing:
        return ReadResult::Missing;
    case FileReadResult::Failed:
        break;
    }
    return ReadResult::Failed;
}

bool WindowsSettingsStorage::CreateFolderOf(const std::wstring& filePath) {
    const std::wstring folder(FolderOf(filePath));
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS;
}

bool WindowsSettingsStorage::ReplaceText(const std::wstring& path, const std::wstring& text) {
    // A read-only settings file stays as it is, as any write to it would fail.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    // Write beside the target, then swap it in: a failure never leaves a half-written file.
    const std::wstring temporary = path + L".new";
    {
        UniqueFile file = CreateNewFile(temporary);
        if (!file) {
            return false;
        }
        if (!WriteAll(file.Get(), EncodeAnsi(text))) {
            file.Reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    // With a backup name a failed replace leaves the old file under a name we know, never gone.
    WindowsSwapFiles files;
    return SwapIntoPlace(files, path, temporary, path + L".bak");
}

// The file may go to another drive (the program's folder on a stick, the profile on C:), into a
// folder that does not exist yet; a file already there is not overwritten.
bool WindowsSettingsStorage::MoveSettingsFile(const std::wstring& from, const std::wstring& to) {
    return CreateFolderOf(to) && MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
}

bool WindowsSettingsPrompts::AskStartWithDefaults() {
    return ShowResourceMessage(owner_, IDS_SETTINGS_UNREADABLE, MB_ICONWARNING | MB_YESNO) == IDYES;
}

bool WindowsSettingsPrompts::AskRetryWrite() {
    return ShowResourceMessage(owner_, IDS_SETTINGS_UNWRITABLE, MB_ICONERROR | MB_RETRYCANCEL) == IDRETRY;
}

bool WindowsSettingsPrompts::AskSwitchToLocalFolder() {
    return ShowResourceMessage(owner_, IDS_ASK_SWITCH_TO_LOCAL, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

void WindowsSettingsPrompts::ReportNoApplicationDataFolder() {
    ShowResourceMessage(owner_, IDS_NO_APPDATA_FOLDER, MB_ICONERROR | MB_OK);
}

bool WindowsSettingsPrompts::AskMoveSettingsFile(const std::wstring& from, const std::wstring& to) {
    return ShowResourceMessage(owner_, IDS_ASK_MOVE_SETTINGS, MB_ICONQUESTION | MB_YESNO, {from, to}) == IDYES;
}

void WindowsSettingsPrompts::ReportMoveFailed() {
    ShowResourceMessage(owner_, IDS_MOVE_SETTINGS_FAILED, MB_ICONERROR | MB_OK);
}

} // namespace lumora
