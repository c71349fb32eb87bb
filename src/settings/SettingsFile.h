#pragma once
// The settings file on Windows: ANSI text on disk, replaced atomically, and the message boxes
// that ask the user what to do when it cannot be read or written.

#include "settings/SettingsLocation.h"

#include <windows.h>

namespace lumora {

// Where this user's settings files may be, from the shell and the running executable.
SettingsPaths LocateSettingsFiles();

class WindowsSettingsStorage final : public SettingsStorage {
public:
    bool Exists(const std::wstring& path) override;
    ReadResult ReadText(const std::wstring& path, std::wstring& text) override;
    bool CreateFolderOf(const std::wstring& filePath) override;
    bool ReplaceText(const std::wstring& path, const std::wstring& text) override;
    bool MoveSettingsFile(const std::wstring& from, const std::wstring& to) override;

    // Larger files are not settings files: they are refused rather than loaded.
    static constexpr DWORD MaxFileSize = 64 * 1024 * 1024;
};

// Start-up and exit ask with the desktop as owner; the options dialog passes itself.
class WindowsSettingsPrompts final : public SettingsPrompts {
public:
    explicit WindowsSettingsPrompts(HWND owner = nullptr) : owner_(owner) {}

    bool AskStartWithDefaults() override;
    bool AskRetryWrite() override;
    bool AskSwitchToLocalFolder() override;
    void ReportNoApplicationDataFolder() override;
    bool AskMoveSettingsFile(const std::wstring& from, const std::wstring& to) override;
    void ReportMoveFailed() override;

private:
    HWND owner_;
};

} // namespace lumora
