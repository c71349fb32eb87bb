#pragma once
// Where the settings file lives, how it is read at start and written at exit, and how it moves
// when the user changes its location. The file system and the questions to the user are
// interfaces, so that the rules run the same against Windows and in tests.

#include "settings/IniDocument.h"

#include <functional>
#include <string>

namespace lumora {

struct SettingsPaths {
    std::wstring ApplicationData; // empty when the folder is unknown
    std::wstring Local;
};

// applicationDataFolder: the user's roaming application-data folder, or empty.
// executablePath: the running executable's full path, its file name as stored on disk.
SettingsPaths ComposeSettingsPaths(std::wstring_view applicationDataFolder, std::wstring_view executablePath,
                                   std::wstring_view userName);

class SettingsStorage {
public:
    virtual ~SettingsStorage() = default;

    enum class ReadResult { Read, Missing, Failed };
    virtual bool Exists(const std::wstring& path) = 0;
    // Reads and decodes the whole file.
    virtual ReadResult ReadText(const std::wstring& path, std::wstring& text) = 0;
    virtual bool CreateFolderOf(const std::wstring& filePath) = 0;
    // Replaces the file as a whole, so that a failure leaves the old content in place.
    virtual bool ReplaceText(const std::wstring& path, const std::wstring& text) = 0;
    virtual bool MoveSettingsFile(const std::wstring& from, const std::wstring& to) = 0;
};

class SettingsPrompts {
public:
    virtual ~SettingsPrompts() = default;
    virtual bool AskStartWithDefaults() = 0;   // the file cannot be read; Yes starts on defaults
    virtual bool AskRetryWrite() = 0;          // the file cannot be written; Retry or Cancel
    virtual bool AskSwitchToLocalFolder() = 0; // before a retry in the application-data folder
    virtual void ReportNoApplicationDataFolder() = 0;
    virtual bool AskMoveSettingsFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual void ReportMoveFailed() = 0;
};

class SettingsLocation {
public:
    // The application-data file wins when it exists.
    SettingsLocation(SettingsPaths paths, SettingsStorage& storage);

    const SettingsPaths& Paths() const { return paths_; }
    bool UsesApplicationData() const { return useApplicationData_; }
    const std::wstring& PathInUse() const { return pathInUse_; }

    // The trial read at start. Returns false when the user chose to end the program; on Yes
    // the path in use is cleared and `document` stays empty, which gives the defaults.
    bool ReadAtStart(SettingsPrompts& prompts, IniDocument& document);

    // Writes the file at exit: the current content is loaded first so unknown keys survive,
    // `writeKeys` puts every setting in. Asks again until it succeeds or the user cancels;
    // returns whether the file was written.
    bool WriteAll(SettingsPrompts& prompts, const std::function<void(IniDocument&)>& writeKeys);

    // The options dialog picks a location; picking the application-data folder is refused
    // when it is unknown. Returns whether the choice stands.
    bool AcceptChoice(bool applicationData, SettingsPrompts& prompts) const;

    // On Apply: takes the new choice and offers to move an existing file from the old place.
    void ApplyChoice(bool applicationData, SettingsPrompts& prompts);

private:
    const std::wstring& Target() const { return useApplicationData_ ? paths_.ApplicationData : paths_.Local; }
    bool TryWrite(const std::function<void(IniDocument&)>& writeKeys);

    SettingsPaths paths_;
    SettingsStorage& storage_;
    bool useApplicationData_;
    std::wstring pathInUse_;
};

} // namespace lumora
