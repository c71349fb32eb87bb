#pragma once
// Windows paths taken apart as text: a backslash, a slash or a drive colon ends the folder.

#include <string_view>

namespace lumora {

// The last part of the path: "C:\a\b.wav" → "b.wav", "C:b.wav" → "b.wav".
std::wstring_view FileNameOf(std::wstring_view path);
// Everything before the file name, separator included: "C:\a\b.wav" → "C:\a\".
std::wstring_view FolderOf(std::wstring_view path);
// The name without its last extension: "Lumora.exe" → "Lumora".
std::wstring_view WithoutExtension(std::wstring_view name);

} // namespace lumora
