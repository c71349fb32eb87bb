#include "shell/Registry.h"

namespace lumora {

std::wstring RegistryString(HKEY root, const wchar_t* subkey, const wchar_t* value) {
    constexpr DWORD Types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD size = 0;
    if (RegGetValueW(root, subkey, value, Types, nullptr, nullptr, &size) != ERROR_SUCCESS || size < sizeof(wchar_t)) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, subkey, value, Types, nullptr, text.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t))); // the terminator RegGetValue adds
    return text;
}

} // namespace lumora
