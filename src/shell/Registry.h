#pragma once
// Values read from the registry, where a missing key, a missing value and a value of another
// type all count as none.

#include <windows.h>

#include <string>

namespace lumora {

// A string value (REG_SZ, or REG_EXPAND_SZ left unexpanded) of root\subkey (null: root itself);
// empty when there is none.
std::wstring RegistryString(HKEY root, const wchar_t* subkey, const wchar_t* value);

} // namespace lumora
