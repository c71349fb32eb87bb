#include "shell/ExecutablePath.h"

#include <windows.h>

namespace lumora {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // The file name as stored on disk, not an 8.3 alias.
    const DWORD longLength = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (longLength > 0) {
        std::wstring longPath(longLength, L'\0');
        const DWORD copied = GetLongPathNameW(path.c_str(), longPath.data(), longLength);
        if (copied > 0 && copied < longLength) {
            longPath.resize(copied);
            return longPath;
        }
    }
    return path;
}

} // namespace lumora
