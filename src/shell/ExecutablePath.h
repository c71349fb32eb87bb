#pragma once
// Where the running program is, whatever the length of the path.

#include <string>

namespace lumora {

// The executable's full path with its file name as stored on disk, not an 8.3 alias.
std::wstring ExecutablePath();

} // namespace lumora
