#include "options/FilePicks.h"

#include <algorithm>

namespace lumora {

std::vector<std::wstring> ChosenFiles(std::wstring_view buffer) {
    std::vector<std::wstring_view> parts;
    while (!buffer.empty() && buffer.front() != L'\0') {
        const size_t end = std::min(buffer.find(L'\0'), buffer.size());
        parts.push_back(buffer.substr(0, end));
        buffer.remove_prefix(std::min(end + 1, buffer.size()));
    }
    if (parts.size() <= 1) {
        return {parts.begin(), parts.end()};
    }
    std::wstring folder(parts.front());
    if (folder.back() != L'\\') { // a drive's root comes with its backslash
        folder += L'\\';
    }
    std::vector<std::wstring> files;
    for (size_t i = 1; i < parts.size(); ++i) {
        files.push_back(folder + std::wstring(parts[i]));
    }
    return files;
}

void AssignChosenFiles(std::span<const int> rows, std::span<const std::wstring> files, std::span<std::wstring> table) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (files.size() != 1 && i >= files.size()) {
            break;
        }
        const int row = rows[i];
        if (row >= 0 && static_cast<size_t>(row) < table.size()) {
            table[static_cast<size_t>(row)] = files.size() == 1 ? files.front() : files[i];
        }
    }
}

SoundDialogPreview::Selection SoundDialogPreview::SelectionChanged(bool fileExists, bool autoPlay) {
    Selection result;
    if (!autoPlayed_) {
        result.SetEnabled = true;
        result.Enabled = fileExists;
    }
    if (!selectedOnce_) {
        selectedOnce_ = true;
        return result;
    }
    result.Play = autoPlay && fileExists;
    return result;
}

bool SoundDialogPreview::PlaybackEnded(bool fileExists) {
    autoPlayed_ = false;
    return fileExists;
}

} // namespace lumora
