#include "settings/SettingsLocation.h"

#include "shell/PathText.h"

namespace lumora {
namespace {

std::wstring WithTrailingBackslash(std::wstring_view folder) {
    std::wstring result(folder);
    if (!result.empty() && result.back() != L'\\' && result.back() != L'/') {
        result += L'\\';
    }
    return result;
}

} // namespace

SettingsPaths ComposeSettingsPaths(std::wstring_view applicationDataFolder, std::wstring_view executablePath,
                                   std::wstring_view userName) {
    const auto exeName = FileNameOf(executablePath);
    const auto folder = FolderOf(executablePath);
    const std::wstring baseName(WithoutExtension(exeName));

    SettingsPaths paths;
    if (!applicationDataFolder.empty()) {
        paths.ApplicationData = WithTrailingBackslash(applicationDataFolder) + L"Orvane\\Lumora\\" + baseName + L".ini";
    }
    paths.Local = WithTrailingBackslash(folder) + baseName;
    if (!userName.empty()) {
        paths.Local += L"_" + std::wstring(userName);
    }
    paths.Local += L".ini";
    return paths;
}

SettingsLocation::SettingsLocation(SettingsPaths paths, SettingsStorage& storage)
    : paths_(std::move(paths)), storage_(storage) {
    useApplicationData_ = !paths_.ApplicationData.empty() && storage_.Exists(paths_.ApplicationData);
    pathInUse_ = Target();
}

bool SettingsLocation::ReadAtStart(SettingsPrompts& prompts, IniDocument& document) {
    std::wstring text;
    switch (storage_.ReadText(pathInUse_, text)) {
    case SettingsStorage::ReadResult::Read:
        document = IniDocument::Parse(text);
        return true;
    case SettingsStorage::ReadResult::Missing:
        document = IniDocument();
        return true;
    case SettingsStorage::ReadResult::Failed:
        break;
    }
    pathInUse_.clear();
    document = IniDocument();
    return prompts.AskStartWithDefaults();
}

bool SettingsLocation::TryWrite(const std::function<void(IniDocument&)>& writeKeys) {
    const std::wstring target = Target();
    std::wstring text;
    IniDocument document;
    switch (storage_.ReadText(target, text)) {
    case SettingsStorage::ReadResult::Read:
        document = IniDocument::Parse(text);
        break;
    case SettingsStorage::ReadResult::Missing:
        break;
    case SettingsStorage::ReadResult::Failed:
        return false;
    }
    writeKeys(document);
    if (useApplicationData_ && !storage_.CreateFolderOf(target)) {
        return false;
    }
    return storage_.ReplaceText(target, document.Serialize());
}

bool SettingsLocation::WriteAll(SettingsPrompts& prompts, const std::function<void(IniDocument&)>& writeKeys) {
    while (!TryWrite(writeKeys)) {
        if (!prompts.AskRetryWrite()) {
            return false;
        }
        if (useApplicationData_ && prompts.AskSwitchToLocalFolder()) {
            useApplicationData_ = false;
        }
    }
    return true;
}

bool SettingsLocation::AcceptChoice(bool applicationData, SettingsPrompts& prompts) const {
    if (applicationData && paths_.ApplicationData.empty()) {
        prompts.ReportNoApplicationDataFolder();
        return false;
    }
    return true;
}

void SettingsLocation::ApplyChoice(bool applicationData, SettingsPrompts& prompts) {
    if (applicationData && paths_.ApplicationData.empty()) {
        return; // refused when it was picked
    }
    const std::wstring oldPath = Target();
    const bool changed = applicationData != useApplicationData_;
    useApplicationData_ = applicationData;
    if (!changed || !storage_.Exists(oldPath)) {
        return;
    }
    const std::wstring& newPath = Target();
    if (prompts.AskMoveSettingsFile(oldPath, newPath) && !storage_.MoveSettingsFile(oldPath, newPath)) {
        prompts.ReportMoveFailed();
    }
}

} // namespace lumora
