#pragma once
// Whole-file reads for the small files the program takes from disk, whether a file is there, and
// text in the system's ANSI code page (Shift-JIS on a Japanese system), as earlier versions wrote
// their files and as the ANSI functions take it.

#include "shell/UniqueHandle.h"

#include <string>

namespace lumora {

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into bytes; a file larger than maxSize fails.
FileReadResult ReadWholeFile(const std::wstring& path, size_t maxSize, std::string& bytes);

// A file, not a folder, is at path.
bool FileExists(const std::wstring& path);

std::wstring DecodeAnsi(const std::string& bytes);
std::string EncodeAnsi(const std::wstring& text);

} // namespace lumora
