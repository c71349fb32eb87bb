#pragma once
// Whole-file reads for the small files the program takes from disk.

#include "shell/UniqueHandle.h"

#include <string>

namespace lumora {

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into bytes; a file larger than maxSize fails.
FileReadResult ReadWholeFile(const std::wstring& path, size_t maxSize, std::string& bytes);

} // namespace lumora
