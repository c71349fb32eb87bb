#include "shell/TestFaults.h"

#include <windows.h>

#include <string>

namespace lumora {
namespace {

std::wstring ReadFaultList() {
    wchar_t value[512] = {};
    const DWORD length = GetEnvironmentVariableW(L"LUMORA_FAULT", value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) ? std::wstring(value, length) : std::wstring();
}

} // namespace

bool TestFault(std::wstring_view name) {
    static const std::wstring list = ReadFaultList();
    std::wstring_view rest = list;
    while (!rest.empty()) {
        const size_t comma = rest.find(L',');
        if (rest.substr(0, comma) == name) {
            return true;
        }
        rest = comma == std::wstring_view::npos ? std::wstring_view() : rest.substr(comma + 1);
    }
    return false;
}

} // namespace lumora
