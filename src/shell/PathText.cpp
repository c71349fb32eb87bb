#include "shell/PathText.h"

namespace lumora {

std::wstring_view FileNameOf(std::wstring_view path) {
    const auto separator = path.find_last_of(L"\\/:");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

std::wstring_view FolderOf(std::wstring_view path) {
    return path.substr(0, path.size() - FileNameOf(path).size());
}

std::wstring_view WithoutExtension(std::wstring_view name) {
    const auto dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? name : name.substr(0, dot);
}

} // namespace lumora
